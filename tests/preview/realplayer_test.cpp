#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>

#include "clips/clipfixtures.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "dero_player.h"
#include "platform/localpath.h"
#include "platform/messagemap.h"
#include "platform/windowhandle.h"
#include "preview/playfilelibrary.h"
#include "preview/previewpanel.h"
#include "preview/previewtransport.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "support/awkwardnames.h"
#include "support/tempdir.h"
#include "support/testmedia.h"

namespace {

QImage Strip(int frameWidth, int height, int frames, const QColor& colour) {
    QImage strip(frameWidth * frames, height, QImage::Format_RGB32);
    strip.fill(colour);
    return strip;
}

bool Lit(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 60;
}

// A window that hands every message to the transport, as the main window does.
class MessageWindow : public QWidget, public TMessageMap {
  public:
    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        return transport && transport->Message(message, wParam, lParam) ? 1 : 0;
    }
    TPreviewTransport* transport = nullptr;
};

class RealPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestMedia::Available()) {
            GTEST_SKIP() << "the ffmpeg command is needed to make clips";
        }
    }

    // Plays the clip at path into the panel: frames arrive, the thumb moves, and the clip's end
    // stops the preview.
    void PlayToTheEnd(const QString& path, int seconds) {
        MessageWindow window;
        auto* handle = new TWindowHandle(&window);
        auto* list = new TListPanel(&window);
        ASSERT_TRUE(clipfixtures::SkinPanel(*list, 200, false));
        auto* bar = new TFixProgress(&window);
        ASSERT_TRUE(bar->SetTrack(Strip(300, 12, 1, Qt::gray)));
        ASSERT_TRUE(bar->SetThumbAndMarkers(Strip(20, 12, 3, Qt::red), QImage(), QImage()));
        ASSERT_TRUE(bar->Arrange());
        bar->move(0, 210);
        auto* panel = new TPreviewPanel(&window);
        panel->setGeometry(420, 0, 300, 224);
        auto* picture = new TImage(panel);
        picture->setGeometry(0, 0, 300, 224);
        auto* timer = new QTimer(&window);
        timer->setInterval(100);

        TPreviewTransport::TParts parts;
        parts.Window = handle->Handle();
        parts.Panel = panel;
        parts.List = list;
        parts.Bar = bar;
        parts.Picture = picture;
        parts.Timer = timer;
        TPreviewTransport transport(std::make_unique<TPlayFileLibrary>(), parts);
        window.transport = &transport;
        window.resize(740, 240);
        window.show();

        ClipRecord record;
        record.SourceFile = path;
        record.Duration = seconds;
        record.StopTime = seconds;
        auto* item = new Image_Item(list);
        item->Fill(record, clipfixtures::Thumbnail(Qt::yellow));
        list->AddItem(item);

        transport.Play();
        // The test pattern lights the middle of the panel once frames arrive.
        ASSERT_TRUE(clipfixtures::WaitUntil([&] {
            return !picture->isVisible() && !panel->Frame().isNull() &&
                   Lit(panel->Frame().pixel(150, 112));
        }));
        EXPECT_EQ(panel->Frame().size(), QSize(300, 224));
        EXPECT_TRUE(bar->Thumb()->isEnabled());
        ASSERT_TRUE(clipfixtures::WaitUntil([&] { return bar->Position() > 0; }));
        EXPECT_TRUE(timer->isActive());

        ASSERT_TRUE(clipfixtures::WaitUntil([&] { return transport.PlayerClip() == nullptr; }));
        EXPECT_TRUE(picture->isVisible());
        EXPECT_FALSE(bar->Thumb()->isEnabled());
        EXPECT_EQ(transport.CurrentClip(), item);
        transport.Shutdown();
        window.transport = nullptr;
    }

    TempDir dir;
};

TEST_F(RealPlayerTest, PlayedClipShowsInThePanelMovesTheThumbAndItsEndStopsThePreview) {
    TestMedia::Recipe recipe;
    recipe.width = 320;
    recipe.height = 240;
    recipe.seconds = 3;
    const QString path = dir.Path() + QStringLiteral("clip.mp4");
    ASSERT_TRUE(TestMedia::Make(path.toStdString(), recipe));
    PlayToTheEnd(path, recipe.seconds);
}

TEST_F(RealPlayerTest, ClipsOfEveryNamePlay) {
    TestMedia::Recipe recipe;
    recipe.width = 320;
    recipe.height = 240;
    recipe.seconds = 1;
    const QString source = dir.Path() + QStringLiteral("source.mp4");
    ASSERT_TRUE(TestMedia::Make(source.toStdString(), recipe));
    ASSERT_TRUE(QDir(dir.Path()).mkdir("names"));
    const QList<QByteArray> paths = TAwkwardNames::CopyUnderEach(
        QFile::encodeName(source), QFile::encodeName(dir.Path() + "names"));
    ASSERT_EQ(paths.size(), TAwkwardNames::Names().size());
    for (const QByteArray& path : paths) {
        SCOPED_TRACE(path.toStdString());
        PlayToTheEnd(TLocalPath::Decode(path), recipe.seconds);
    }
}

TEST_F(RealPlayerTest, EventFunctionRunsOnTheUserInterfaceThread) {
    const QString path = dir.Write(QStringLiteral("noise.mp4"), QByteArray(4096, '\x5a'));
    DeroWindowHandle quiet{};
    quiet.post = [](void*, uint32_t, uintptr_t, intptr_t) {};

    std::atomic<bool> onUiThread{false};
    int32_t code = 0;
    {
        TPlayFileLibrary library;
        library.SetCallback([&](int32_t c, int32_t, int32_t) {
            code = c;
            onUiThread = QThread::currentThread() == qApp->thread();
        });
        ASSERT_TRUE(library.Init(&quiet));
        ASSERT_TRUE(library.OpenFile(QFile::encodeName(path).constData(), 0));
        EXPECT_TRUE(clipfixtures::WaitUntil([&] { return code != 0; }));
        EXPECT_EQ(code, PLAYER_CALL_ERROR);
        EXPECT_TRUE(onUiThread);
        library.Stop();
        library.Close();
    }
    // Calls still in flight after the binding is gone are dropped.
    QCoreApplication::processEvents();
}

}  // namespace
