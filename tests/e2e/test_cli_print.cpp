// pqt590-cli print: every sheet of a clone file, or one, into a PDF file without a window; the
// paper of the locale or the one asked for; usage and file errors.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>
#include <string>

#include "CliFixture.h"

namespace {

int PdfPages(const QByteArray& pdf) {
    return int(pdf.count("/Type /Page\n"));
}

std::string MediaBox(const QByteArray& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("/MediaBox \\[([^\\]]*)\\]"))
            .match(QString::fromLatin1(pdf));
    return m.hasMatch() ? m.captured(1).toStdString() : std::string();
}

// The document without what differs between two runs of the same print: the creation date and
// the random tags of the embedded font subsets.
// Qt seeds its hash tables afresh in every process, and the PDF writer's object order follows
// them: runs that are to give the same bytes use one seed.
QProcessEnvironment Deterministic() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_HASH_SEED"), QStringLiteral("0"));
    return environment;
}

QByteArray Comparable(const QByteArray& pdf) {
    return QString::fromLatin1(pdf)
        .remove(QRegularExpression(QStringLiteral("/CreationDate \\([^)]*\\)")))
        .replace(QRegularExpression(QStringLiteral("/[A-Z]{6}\\+")), QStringLiteral("/TAG+"))
        .toLatin1();
}

// The number in a sheet's line of the listing ("  User channels   3 pages").
int ListedPages(const std::string& out, const std::string& caption) {
    const std::size_t at = out.find("  " + caption + " ");
    if (at == std::string::npos)
        return -1;
    const std::string line = out.substr(at, out.find('\n', at) - at);
    const std::size_t digit = line.find_first_of("0123456789");
    return digit == std::string::npos ? -1 : std::stoi(line.substr(digit));
}

class CliPrint : public CliFixture {
protected:
    static QString DefaultFile() {
        return QString::fromStdString(ResourcePath("PQT590_Default.t590"));
    }
    QString Out(const char* name) const { return QString::fromStdString(Path(name)); }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The test's environment with the locale set and no display at all.
    static QProcessEnvironment Headless(const QString& locale) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LANG",
                                 "LANGUAGE", "LC_PAPER", "LC_MEASUREMENT"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LC_ALL"), locale);
        return env;
    }
};

TEST_F(CliPrint, EverySheetOfTheTreeGoesIntoThePdfWithoutADisplay) {
    const QString out = Out("all.pdf");
    const CliRun run = RunCli({"print", DefaultFile(), "-o", out}, Headless("de_DE.UTF-8"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QByteArray pdf = Read(out);
    ASSERT_TRUE(pdf.startsWith("%PDF")) << run.err;
    int listed = 0;
    for (const char* caption : {"User channels", "ITU channels", "Common settings", "Band edges",
                                "Address book", "Unable-to-comply reasons"}) {
        const int pages = ListedPages(run.out, caption);
        EXPECT_GE(pages, 1) << caption << "\n" << run.out;
    }
    for (std::size_t at = run.out.find(" page"); at != std::string::npos;
         at = run.out.find(" page", at + 1)) {
        const std::size_t start = run.out.rfind(' ', at - 1);
        listed += std::stoi(run.out.substr(start + 1, at - start - 1));
    }
    EXPECT_EQ(PdfPages(pdf), listed);
    EXPECT_GE(ListedPages(run.out, "User channels"), 2);    // 160 rows
    EXPECT_EQ(MediaBox(pdf), "0 0 595.000000 842.000000");  // A4 outside North America
    EXPECT_TRUE(Contains(run.err, "printed " + std::to_string(listed) + " pages")) << run.err;
    EXPECT_TRUE(Contains(run.err, "status 0")) << run.err;
}

struct PaperCase {
    const char* name;
    const char* locale;
    QStringList extra;
    const char* mediaBox;
};

class CliPrintPaper : public CliPrint, public ::testing::WithParamInterface<PaperCase> {};

TEST_P(CliPrintPaper, FollowsTheLocaleUnlessNamed) {
    const QString out = Out("paper.pdf");
    QStringList args{"print", DefaultFile(), "-o", out, "--sheet", "Band edges"};
    args += GetParam().extra;
    const CliRun run = RunCli(args, Headless(QString::fromLatin1(GetParam().locale)));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(MediaBox(Read(out)), GetParam().mediaBox);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, CliPrintPaper,
    ::testing::Values(
        PaperCase{"UnitedStates", "en_US.UTF-8", {}, "0 0 612.000000 792.000000"},
        PaperCase{"Canada", "fr_CA.UTF-8", {}, "0 0 612.000000 792.000000"},
        PaperCase{"Germany", "de_DE.UTF-8", {}, "0 0 595.000000 842.000000"},
        PaperCase{"NoTerritory", "C", {}, "0 0 595.000000 842.000000"},
        PaperCase{
            "LetterNamed", "de_DE.UTF-8", {"--page-size", "letter"}, "0 0 612.000000 792.000000"},
        PaperCase{"A4Named", "en_US.UTF-8", {"--page-size", "A4"}, "0 0 595.000000 842.000000"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CliPrint, OneSheetByReferenceOrCaption) {
    const QString byCaption = Out("caption.pdf"), byReference = Out("reference.pdf");
    const CliRun caption = RunCli(
        {"print", DefaultFile(), "-o", byCaption, "--sheet", "user CHANNELS"}, Deterministic());
    const CliRun reference = RunCli(
        {"print", DefaultFile(), "-o", byReference, "--sheet", "GI_Sheet_UserCh"}, Deterministic());
    ASSERT_EQ(caption.exitCode, 0) << caption.err;
    ASSERT_EQ(reference.exitCode, 0) << reference.err;
    const int pages = ListedPages(caption.out, "User channels");
    EXPECT_GE(pages, 2);
    EXPECT_EQ(PdfPages(Read(byCaption)), pages);
    EXPECT_EQ(Comparable(Read(byCaption)), Comparable(Read(byReference)));
    EXPECT_EQ(ListedPages(caption.out, "Band edges"), -1);  // only the one sheet
}

TEST_F(CliPrint, ThePagesShowTheFilesData) {
    cmcEeprom image;
    DefaultImage(image, "SHIP ONE");
    const QString file = QString::fromStdString(Save(image, "ship.t590"));
    const QString a = Out("a.pdf"), b = Out("b.pdf"), again = Out("again.pdf");
    for (const auto& [in, out] : {std::pair{DefaultFile(), a}, {file, b}, {DefaultFile(), again}})
        ASSERT_EQ(RunCli({"print", in, "-o", out, "--sheet", "Common settings"}, Deterministic())
                      .exitCode,
                  0);
    EXPECT_EQ(Comparable(Read(a)), Comparable(Read(again)));
    EXPECT_NE(Comparable(Read(a)), Comparable(Read(b)));  // the clone comment differs
}

struct ErrorCase {
    const char* name;
    QStringList args;  // {file} and {out} are replaced
    int exitCode;
    const char* message;
};

class CliPrintErrors : public CliPrint, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(CliPrintErrors, EndWithTheirStatusAndNoFile) {
    cmcEeprom image;
    DefaultImage(image, "X");
    const std::string good = Save(image, "good.t590");
    const QString out = Out("out.pdf");
    QStringList args;
    for (QString a : GetParam().args) {
        a.replace("{file}", QString::fromStdString(good));
        a.replace("{missing}", Out("missing.t590"));
        a.replace("{out}", out);
        a.replace("{nodir}", Out("no/such/dir/out.pdf"));
        args << a;
    }
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_TRUE(Contains(run.err, GetParam().message)) << run.err;
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(run.crashed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliPrintErrors,
    ::testing::Values(
        ErrorCase{"NoOutput", {"print", "{file}"}, 1, "-o OUT is required"},
        ErrorCase{"NoFile", {"print", "-o", "{out}"}, 1, "one FILE is required"},
        ErrorCase{"UnknownSheet",
                  {"print", "{file}", "-o", "{out}", "--sheet", "Nothing"},
                  1,
                  "no sheet 'Nothing' in the tree"},
        ErrorCase{"UnknownPaper",
                  {"print", "{file}", "-o", "{out}", "--page-size", "B52"},
                  1,
                  "unknown page size 'B52'"},
        ErrorCase{
            "MissingCloneFile", {"print", "{missing}", "-o", "{out}"}, 2, "is no valid clone file"},
        ErrorCase{"UnwritableOutput", {"print", "{file}", "-o", "{nodir}"}, 2, "cannot write"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CliPrint, TheHelpNamesTheCommand) {
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Contains(help.out, "print FILE -o OUT.pdf")) << help.out;
    const CliRun own = RunCli({"print", "--help"});
    EXPECT_EQ(own.exitCode, 0);
    EXPECT_TRUE(Contains(own.out, "--page-size")) << own.out;
    EXPECT_TRUE(Contains(own.out, "--sheet")) << own.out;
}

}  // namespace

#endif
