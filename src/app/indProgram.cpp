#include "app/indProgram.h"

#include <QString>

std::string indProgram::StartFile(const std::vector<std::string>& arguments) {
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const QString lower = QString::fromLocal8Bit(a.c_str()).toLower();
        if (a.empty() || a[0] == '-' || lower == QLatin1String("/expert") ||
            lower == QLatin1String("/gene"))
            continue;
        return a;
    }
    return std::string();
}
