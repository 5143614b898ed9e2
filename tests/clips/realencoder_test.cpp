// Clip probing end to end through the real encoder library and generated media.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <set>

#include "app/encoderbinding.h"
#include "app/pubfunction.h"
#include "clipfixtures.h"
#include "clips/addfilescommand.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "clips/listpanelskin.h"
#include "clips/openfilesdialog.h"
#include "messagerecorder.h"
#include "platform/localpath.h"
#include "skin/skin.h"
#include "support/awkwardnames.h"
#include "support/tempdir.h"
#include "support/testmedia.h"

using namespace clipfixtures;

namespace {

#ifdef DERO_HAVE_ENCODER

// Where the screenshot of the filled list goes: $DERO_TEST_OUTPUT_DIR, else beside the test.
QString OutputFolder() {
    QString folder = qEnvironmentVariable("DERO_TEST_OUTPUT_DIR");
    if (folder.isEmpty()) {
        folder = QCoreApplication::applicationDirPath() + "/clips-output";
    }
    QDir().mkpath(folder);
    return folder + "/";
}

int DistinctColours(const QImage& image, const QRect& area) {
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

// Bound once and kept for the rest of the test program, as the application keeps it for its
// whole run: unloading would leave the media libraries' lifetime allocations unreachable, which
// the leak checker reports.
bool BindEncoderOnce() {
    static TEncoderBinding* const binding = [] {
        auto* bound = new TEncoderBinding;
        if (bound->Load(QStringLiteral(DERO_BIN_DIR "/libEncoder.so"))) {
            DllInit();
        }
        return bound;
    }();
    return binding->IsLoaded();
}

class RealEncoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestMedia::Available()) {
            GTEST_SKIP() << "the ffmpeg command is not available";
        }
        ASSERT_TRUE(BindEncoderOnce());
        savedSnapshotFolder_ = path_Snapshot;
        path_Snapshot = snapshots_.Path();

        window_.setObjectName("MainWindow");
        window_.resize(460, 360);
        panel_ = new TListPanel(&window_);
        panel_->setObjectName("TP_ImageList");
        WriteListSkin(skin_.Path(), kFullPanelEntry);
        ASSERT_TRUE(ApplySkin(window_, {SkinComponent(panel_, &ApplyListPanelSkin)}, skin_.Path()));
        command_ = std::make_unique<TAddFilesCommand>(&window_, panel_);
    }

    void TearDown() override {
        command_.reset();
        path_Snapshot = savedSnapshotFolder_;
    }

    QString Make(const char* name, const TestMedia::Recipe& recipe) {
        const QString path = media_.Path() + name;
        EXPECT_TRUE(TestMedia::Make(path.toStdString(), recipe)) << name;
        return path;
    }

    TempDir media_;
    TempDir snapshots_;
    TempDir skin_;
    QString savedSnapshotFolder_;
    TMessageRecorder window_;
    TListPanel* panel_ = nullptr;
    std::unique_ptr<TAddFilesCommand> command_;
};

TEST_F(RealEncoderTest, AMultiFileAddFillsTheListWithFactsAndThumbnails) {
    TestMedia::Recipe one;
    one.width = 160, one.height = 120, one.seconds = 2;
    TestMedia::Recipe two;
    two.width = 320, two.height = 240, two.seconds = 3, two.audioChannels = 2;
    TestMedia::Recipe three;
    three.width = 176, three.height = 144, three.seconds = 4, three.audioChannels = 0;
    const QStringList files = {Make("clip one.avi", one), Make("two.mp4", two),
                               Make("three.mov", three)};
    command_->SetOpenDialog([files](QWidget*) { return files; });

    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    command_->Execute();
    ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));

    ASSERT_EQ(panel_->Count(), 3);
    const int durations[] = {2, 3, 4};
    const QSize sizes[] = {{160, 120}, {320, 240}, {176, 144}};
    const char* audio[] = {"aac", "aac", "none"};
    for (int i = 0; i < 3; ++i) {
        const Image_Item* item = panel_->GetItem(i);
        const ClipRecord& clip = item->Clip();
        EXPECT_EQ(clip.SourceFile, files[i]);
        // The library rounds the container's duration up to whole seconds.
        EXPECT_GE(clip.Duration, durations[i]) << i;
        EXPECT_LE(clip.Duration, durations[i] + 1) << i;
        EXPECT_EQ(QSize(clip.Width, clip.Height), sizes[i]) << i;
        EXPECT_EQ(clip.VideoFormat, "mpeg4");
        EXPECT_EQ(clip.AudioFormat, audio[i]);
        EXPECT_EQ(clip.StopTime, clip.Duration);
        // The test pattern's thumbnail has many colours; a missing one would be flat grey.
        EXPECT_GT(DistinctColours(item->Picture(), QRect(2, 2, 80, 60)), 20) << i;
    }
    EXPECT_TRUE(QDir(snapshots_.Path()).isEmpty());

    QTest::qWait(50);
    QScreen* screen = window_.screen();
    QPixmap shot = screen ? screen->grabWindow(window_.winId()) : QPixmap();
    if (shot.isNull()) {
        shot = window_.grab();
    }
    const QString shotPath = OutputFolder() + "clip-list.png";
    EXPECT_TRUE(shot.save(shotPath)) << shotPath.toStdString();
}

TEST_F(RealEncoderTest, FilesThatAreNoVideoAreLeftOutSilently) {
    const QString noise = media_.Path() + "noise.avi";
    ASSERT_TRUE(TestMedia::MakeRandomFile(noise.toStdString(), 64 * 1024));
    const QString good = media_.Path() + "good.mpg";
    TestMedia::Recipe recipe;
    recipe.videoCodec = "mpeg1video";
    recipe.audioCodec = "mp2";
    recipe.sampleRate = 44100;
    ASSERT_TRUE(TestMedia::Make(good.toStdString(), recipe));

    for (const QString& file : {noise, media_.Path() + "missing.avi", QString()}) {
        ASSERT_TRUE(command_->AddFiles({file}));
        ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));
    }
    EXPECT_EQ(panel_->Count(), 0);
    ASSERT_TRUE(command_->AddFiles({good}));
    ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));
    ASSERT_EQ(panel_->Count(), 1);
    EXPECT_EQ(panel_->GetItem(0)->Clip().VideoFormat, "mpeg1video");
    EXPECT_TRUE(QDir(snapshots_.Path()).isEmpty());
}

// Acts on the open dialog once it is the modal window, from inside its own event loop.
void OnceTheDialogShows(const std::function<void(TOpenFilesDialog&)>& act) {
    QTimer::singleShot(20, [act] {
        if (auto* dialog = qobject_cast<TOpenFilesDialog*>(QApplication::activeModalWidget())) {
            act(*dialog);
        } else {
            OnceTheDialogShows(act);
        }
    });
}

TEST_F(RealEncoderTest, EveryNameSelectedInTheDialogIsProbedAndShownReadably) {
    TestMedia::Recipe recipe;
    recipe.width = 160, recipe.height = 120, recipe.seconds = 2;
    const QString source = Make("source.avi", recipe);
    ASSERT_TRUE(QDir(media_.Path()).mkdir("names"));
    const QList<QByteArray> paths = TAwkwardNames::CopyUnderEach(
        QFile::encodeName(source), QFile::encodeName(media_.Path() + "names"));
    ASSERT_EQ(paths.size(), TAwkwardNames::Names().size());

    OnceTheDialogShows([this](TOpenFilesDialog& dialog) {
        dialog.GoToFolder(media_.Path() + "names");
        dialog.List()->selectAll();
        QTest::keyClick(dialog.NameField(), Qt::Key_Return);
    });
    command_->Execute();
    ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));

    ASSERT_EQ(panel_->Count(), paths.size());
    QList<QByteArray> added;
    for (int i = 0; i < panel_->Count(); ++i) {
        const Image_Item* item = panel_->GetItem(i);
        added << TLocalPath::Encode(item->Clip().SourceFile);
        EXPECT_EQ(QSize(item->Clip().Width, item->Clip().Height), QSize(160, 120)) << i;
        EXPECT_GT(DistinctColours(item->Picture(), QRect(2, 2, 80, 60)), 20) << i;
        // Shown as text: the bytes that are none read as replacement marks.
        EXPECT_FALSE(TLocalPath::HoldsRawBytes(item->toolTip())) << i;
        EXPECT_TRUE(item->toolTip().contains(TLocalPath::Display(item->Clip().SourceFile))) << i;
    }
    QList<QByteArray> expected = paths;
    std::sort(expected.begin(), expected.end());
    std::sort(added.begin(), added.end());
    EXPECT_EQ(added, expected);
}

#endif

}  // namespace
