#include <gtest/gtest.h>

#include "conversion/runreport.h"
#include "support/tempdir.h"

namespace {

// The library's texts for one clip, then its end; written: whether its output file is there.
void Clip(TRunReport& report, const TempDir& dir, const QString& name, bool written,
          const QStringList& texts) {
    const QString output = dir.Path() + name + QStringLiteral(".MP4");
    report.BeginClip(QStringLiteral("/clips/") + name + QStringLiteral(".avi"), output);
    for (const QString& text : texts) {
        report.NoteText(text);
    }
    if (written) {
        dir.Write(name + QStringLiteral(".MP4"), "video");
    }
    report.EndClip(false);
}

TEST(RunReport, ClipsWithNotesAreListedAsConvertedWithRemarks) {
    TempDir dir;
    TRunReport report;
    const QString progress = QStringLiteral(
        "frame=   50 fps=0 q=2.0 size=  10kB time=2.00 "
        "bitrate= 40.0kbits/s");
    Clip(report, dir, QStringLiteral("clean"), true, {progress});
    Clip(report, dir, QStringLiteral("silent"), true,
         {progress, QStringLiteral("note: the sound could not be read (x); converted without it"),
          progress});
    Clip(report, dir, QStringLiteral("cut"), true,
         {QStringLiteral("note: the source is damaged or cut short: converted up to its last "
                         "good picture, 9.16 s"),
          QStringLiteral("note: a file named cut.MP4 appeared during the conversion"), progress});
    Clip(report, dir, QStringLiteral("broken"), false,
         {QStringLiteral("note: the sound could not be read (y); converted without it"),
          QStringLiteral("error: the video cannot be decoded")});

    EXPECT_EQ(report.Count(TRunReport::TOutcome::Written), 3);
    EXPECT_EQ(report.RemarksText(),
              "These clips were converted with remarks:\n"
              "silent.avi: the sound could not be read (x); converted without it\n"
              "cut.avi: the source is damaged or cut short: converted up to its last good "
              "picture, 9.16 s\n"
              "cut.avi: a file named cut.MP4 appeared during the conversion");
    EXPECT_EQ(report.EndText(), report.FailureText() + "\n\n" + report.RemarksText());
    EXPECT_TRUE(report.FailureText().contains("broken.avi: the video cannot be decoded"));
    EXPECT_FALSE(report.RemarksText().contains("broken.avi"));
}

TEST(RunReport, ARunWithoutFailuresOrNotesHasNothingToSay) {
    TempDir dir;
    TRunReport report;
    Clip(report, dir, QStringLiteral("clean"), true, {QStringLiteral("frame= 1 time=0.04")});
    EXPECT_EQ(report.EndText(), QString());
    Clip(report, dir, QStringLiteral("odd"), true, {QStringLiteral("note: the sound was cut")});
    EXPECT_EQ(report.EndText(), report.RemarksText());
}

}  // namespace
