#include <string>

#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

namespace ModelProfile {

namespace {
std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return s;
}
}  // namespace

CommandLineModes ReadCommandLine(const std::vector<std::string>& arguments, cmcGTex& dictionary) {
    CommandLineModes modes;
    for (const std::string& argument : arguments) {
        const std::string a = Lower(argument);
        if (a == "/expert") {
            modes.expert = true;
            modes.markText += dictionary.Text(kExpertMarkKey);
        } else if (a == "/gene") {
            modes.generalCoverage = true;
            modes.markText += kGeneralCoverageMark;
        }
    }
    return modes;
}

}  // namespace ModelProfile
