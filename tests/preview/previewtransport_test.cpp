#include "preview/previewtransport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/pubfunction.h"
#include "clips/clipfixtures.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "dero_player.h"
#include "fakeplayer.h"
#include "platform/messagemap.h"
#include "preview/previewpanel.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "support/tempdir.h"

namespace {

using Calls = std::vector<std::string>;

QImage Strip(int frameWidth, int height, int frames, const QColor& colour) {
    QImage strip(frameWidth * frames, height, QImage::Format_RGB32);
    strip.fill(colour);
    return strip;
}

// The main window as far as the preview sees it: the list and the bar send their messages to
// it, and it hands them to the transport.
class PreviewWindow : public QWidget, public TMessageMap {
  public:
    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        return transport && transport->Message(message, wParam, lParam) ? 1 : 0;
    }
    TPreviewTransport* transport = nullptr;
};

class PreviewTransportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(clipfixtures::SkinPanel(*list, 300, false));
        list->move(10, 10);
        // Track 300 wide, thumb 20, markers 10: the range scale runs from 10 to 290.
        ASSERT_TRUE(bar->SetTrack(Strip(300, 12, 1, Qt::gray)));
        ASSERT_TRUE(bar->SetRangeFill(Strip(40, 6, 1, Qt::yellow)));
        ASSERT_TRUE(bar->SetThumbAndMarkers(Strip(20, 12, 3, Qt::red), Strip(10, 12, 3, Qt::green),
                                            Strip(10, 12, 3, Qt::blue)));
        ASSERT_TRUE(bar->Arrange());
        bar->move(10, 320);
        panel->setGeometry(430, 10, 300, 224);
        picture->setGeometry(0, 0, 300, 224);
        timer->setInterval(500);

        TPreviewTransport::TParts parts;
        parts.Window = &windowHandle;
        parts.Panel = panel;
        parts.List = list;
        parts.Bar = bar;
        parts.Picture = picture;
        parts.Timer = timer;
        parts.AddingFiles = [this] { return adding; };
        transport =
            std::make_unique<TPreviewTransport>(std::make_unique<FakePlayer>(player), parts);
        bar->SetPositionCallback([this](double percent, int pressed, TFixProgress*) {
            transport->Seek(percent, pressed);
        });
        window.transport = transport.get();
        window.resize(740, 560);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override { window.transport = nullptr; }

    // A clip whose source file exists, so opening it reaches the library.
    Image_Item* AddClip(const QString& name, int duration) {
        return clipfixtures::AddClip(*list, dir.Write(name, "clip"), duration);
    }

    void Click(Image_Item* item) {
        QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    }

    void Loaded(bool seekable) {
        DeroPlayerFileInfo record{};
        record.Duration = 60;
        record.Seekable = seekable ? 1 : 0;
        transport->Message(WM_PLAYER_EVENT, PLAYER_EVENT_LOADED,
                           reinterpret_cast<intptr_t>(&record));
    }

    // Opens item (selected) and lets the library report it loaded.
    void PlayLoaded(Image_Item* item) {
        Click(item);
        transport->Play();
        Loaded(true);
        player.calls.clear();
    }

    bool ThumbEnabled() const { return bar->Thumb()->isEnabled(); }
    std::pair<float, float> Range() const { return bar->GetRange(); }

    TempDir dir;
    FakePlayer::State player;
    PreviewWindow window;
    TListPanel* list = new TListPanel(&window);
    TFixProgress* bar = new TFixProgress(&window);
    TPreviewPanel* panel = new TPreviewPanel(&window);
    TImage* picture = new TImage(panel);
    QTimer* timer = new QTimer(&window);
    DeroWindowHandle windowHandle{};
    bool adding = false;
    std::unique_ptr<TPreviewTransport> transport;
};

TEST_F(PreviewTransportTest, PlayOnAnEmptyListOnlyAsksTheLibraryToPlay) {
    transport->Play();
    EXPECT_EQ(player.calls, Calls{"Play"});
    EXPECT_EQ(transport->PlayerClip(), nullptr);
    EXPECT_TRUE(picture->isVisible());
}

TEST_F(PreviewTransportTest, PlayWhileFilesAreAddedCallsNothing) {
    AddClip("a.mp4", 40);
    player.calls.clear();
    adding = true;
    transport->Play();
    EXPECT_TRUE(player.calls.empty());
    EXPECT_EQ(transport->PlayerClip(), nullptr);
}

TEST_F(PreviewTransportTest, PlayOpensTheChosenClipAndCodeThreeStartsIt) {
    Image_Item* first = AddClip("a.mp4", 40);
    player.calls.clear();
    transport->Play();
    const std::string path = first->Clip().SourceFile.toStdString();
    EXPECT_EQ(player.calls, (Calls{"Play", "Stop", "Close", "Init", "OpenFile " + path}));
    EXPECT_EQ(player.initWindow, &windowHandle);
    EXPECT_EQ(transport->PlayerClip(), first);
    // Nothing shows until the library reports the file open.
    EXPECT_TRUE(picture->isVisible());
    EXPECT_FALSE(ThumbEnabled());

    b_KeepRatio = true;
    player.calls.clear();
    Loaded(true);
    EXPECT_EQ(player.calls, (Calls{"SetVideoWindow", "Play"}));
    EXPECT_EQ(player.videoWindow, panel->Handle());
    EXPECT_EQ(player.keepAspect, 1);
    EXPECT_FALSE(picture->isVisible());
    EXPECT_TRUE(ThumbEnabled());

    // Playback runs: polling starts; a pause reported by the library ends it.
    transport->Message(WM_PLAYER_EVENT, PLAYER_EVENT_RUNNING, 0);
    EXPECT_TRUE(timer->isActive());
    transport->Message(WM_PLAYER_EVENT, PLAYER_EVENT_PAUSED, 0);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(PreviewTransportTest, UnseekableFileKeepsTheThumbDisabled) {
    AddClip("a.mp4", 40);
    transport->Play();
    Loaded(false);
    EXPECT_FALSE(ThumbEnabled());
    EXPECT_FALSE(picture->isVisible());
}

TEST_F(PreviewTransportTest, MissingSourceFileIsNotOpenedButBecomesThePlayerClip) {
    Image_Item* gone = clipfixtures::AddClip(*list, dir.Path() + "gone.mp4", 40);
    player.calls.clear();
    transport->Play();
    EXPECT_EQ(player.calls, (Calls{"Play", "Stop", "Close"}));
    EXPECT_EQ(transport->PlayerClip(), gone);
}

TEST_F(PreviewTransportTest, PauseThenPlayOnlyResumes) {
    PlayLoaded(AddClip("a.mp4", 40));
    player.playResult = true;
    transport->Pause();
    transport->Play();
    EXPECT_EQ(player.calls, (Calls{"Pause", "Play"}));
}

TEST_F(PreviewTransportTest, StopThenPlayClosesFirstAndReopens) {
    Image_Item* clip = AddClip("a.mp4", 40);
    PlayLoaded(clip);
    transport->Message(WM_PLAYER_EVENT, PLAYER_EVENT_RUNNING, 0);
    transport->Stop();
    EXPECT_EQ(player.calls, (Calls{"Stop", "Close"}));
    EXPECT_TRUE(picture->isVisible());
    EXPECT_FALSE(ThumbEnabled());
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(transport->PlayerClip(), nullptr);
    // The clip whose range the bar shows stays.
    EXPECT_EQ(transport->CurrentClip(), clip);

    player.calls.clear();
    transport->Play();
    EXPECT_EQ(player.calls, (Calls{"Play", "Stop", "Close", "Init",
                                   "OpenFile " + clip->Clip().SourceFile.toStdString()}));
    EXPECT_EQ(transport->PlayerClip(), clip);
}

TEST_F(PreviewTransportTest, LibraryRefusingToStartEndsTheOpen) {
    AddClip("a.mp4", 40);
    player.initResult = false;
    player.calls.clear();
    transport->Play();
    EXPECT_EQ(player.calls, (Calls{"Play", "Stop", "Close", "Init"}));
}

TEST_F(PreviewTransportTest, SelectingAnotherClipStopsAndShowsItsRange) {
    Image_Item* first = AddClip("a.mp4", 40);
    Image_Item* second = AddClip("b.mp4", 40);
    ASSERT_TRUE(list->SetTrim(second, 10, 20));
    PlayLoaded(first);

    // The playing clip clicked again plays on.
    Click(first);
    EXPECT_TRUE(player.calls.empty());
    EXPECT_EQ(transport->PlayerClip(), first);

    Click(second);
    EXPECT_EQ(player.calls, (Calls{"Stop", "Close"}));
    EXPECT_EQ(transport->PlayerClip(), nullptr);
    EXPECT_EQ(transport->CurrentClip(), second);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_NEAR(Range().first, 0.25, 0.01);
    EXPECT_NEAR(Range().second, 0.5, 0.01);
    EXPECT_TRUE(bar->StartMarker()->isEnabled());
}

TEST_F(PreviewTransportTest, EmptySelectionResetsTheMarkersAndStops) {
    Image_Item* clip = AddClip("a.mp4", 40);
    PlayLoaded(clip);
    list->RemoveSelected();
    EXPECT_EQ(transport->CurrentClip(), nullptr);
    EXPECT_EQ(transport->PlayerClip(), nullptr);
    EXPECT_FALSE(bar->StartMarker()->isEnabled());
    EXPECT_EQ(bar->StartMarker()->x(), bar->ThumbMin() - bar->StartMarker()->width());
    EXPECT_TRUE(picture->isVisible());
}

TEST_F(PreviewTransportTest, MarkButtonsTakeTheTruncatedPosition) {
    Image_Item* clip = AddClip("a.mp4", 40);
    Click(clip);
    player.seconds = 12.7;
    transport->MarkStart();
    EXPECT_EQ(clip->Clip().StartTime, 12);
    EXPECT_EQ(clip->Clip().StopTime, 40);
    EXPECT_NEAR(Range().first, 12.0 / 40, 0.01);

    player.seconds = 30.99;
    transport->MarkStop();
    EXPECT_EQ(clip->Clip().StartTime, 12);
    EXPECT_EQ(clip->Clip().StopTime, 30);
    EXPECT_NEAR(Range().second, 30.0 / 40, 0.01);

    // A position the clip cannot take is refused and the markers stay.
    player.seconds = 41;
    transport->MarkStop();
    EXPECT_EQ(clip->Clip().StopTime, 30);
    EXPECT_NEAR(Range().second, 30.0 / 40, 0.01);

    // Without a known position nothing changes.
    player.positionResult = false;
    player.seconds = 5;
    transport->MarkStart();
    EXPECT_EQ(clip->Clip().StartTime, 12);
}

TEST_F(PreviewTransportTest, MarkWithoutCurrentClipAsksNothing) {
    transport->MarkStart();
    transport->MarkStop();
    EXPECT_TRUE(player.calls.empty());
}

TEST_F(PreviewTransportTest, ReleasedMarkersSetTheTrimFromTheirFractions) {
    Image_Item* clip = AddClip("a.mp4", 61);
    Click(clip);
    bar->SetRange(0.2f, 0.5f);
    SendMessage(&window, WM_RANGE_MARKER, 0);
    EXPECT_EQ(clip->Clip().StopTime, 30);
    EXPECT_EQ(clip->Clip().StartTime, 0);
    SendMessage(&window, WM_RANGE_MARKER, 1);
    EXPECT_EQ(clip->Clip().StartTime, 12);
    EXPECT_EQ(clip->Clip().StopTime, 30);
    // Neither marker: nothing.
    bar->SetRange(0.0f, 1.0f);
    SendMessage(&window, WM_RANGE_MARKER, 7);
    EXPECT_EQ(clip->Clip().StartTime, 12);
    EXPECT_EQ(clip->Clip().StopTime, 30);
}

TEST_F(PreviewTransportTest, ReleasedMarkerWithoutClipResetsTheRange) {
    AddClip("a.mp4", 61);
    list->RemoveSelected();
    bar->SetRange(0.2f, 0.5f);
    player.calls.clear();
    SendMessage(&window, WM_RANGE_MARKER, 1);
    EXPECT_FALSE(bar->StartMarker()->isEnabled());
    EXPECT_EQ(player.calls, (Calls{"Stop", "Close"}));
}

TEST_F(PreviewTransportTest, ClipOfNoDurationIsHarmless) {
    Image_Item* clip = AddClip("empty.mp4", 0);
    Click(clip);
    EXPECT_EQ(transport->CurrentClip(), clip);
    EXPECT_FALSE(bar->StartMarker()->isEnabled());
    EXPECT_FALSE(bar->EndMarker()->isEnabled());

    player.calls.clear();
    transport->Seek(50, 1);
    transport->Seek(50, 0);
    EXPECT_EQ(player.calls, Calls{"Pause"});

    bar->SetRange(0.3f, 0.6f);
    SendMessage(&window, WM_RANGE_MARKER, 1);
    SendMessage(&window, WM_RANGE_MARKER, 0);
    EXPECT_EQ(clip->Clip().StartTime, 0);
    EXPECT_EQ(clip->Clip().StopTime, 0);
}

TEST_F(PreviewTransportTest, FifthFailedPollInARowStopsThePolling) {
    player.percent = 25;
    timer->start();
    transport->Poll();
    EXPECT_DOUBLE_EQ(bar->Position(), 25);

    player.positionResult = false;
    for (int i = 0; i < 4; ++i) {
        transport->Poll();
    }
    EXPECT_TRUE(timer->isActive());
    transport->Poll();
    EXPECT_FALSE(timer->isActive());

    // Only a success sets the count back: after a restart one failure stops the timer.
    timer->start();
    transport->Poll();
    EXPECT_FALSE(timer->isActive());

    player.positionResult = true;
    timer->start();
    transport->Poll();
    player.positionResult = false;
    transport->Poll();
    EXPECT_TRUE(timer->isActive());
}

TEST_F(PreviewTransportTest, TimerTicksPoll) {
    timer->setInterval(1);
    timer->start();
    EXPECT_TRUE(clipfixtures::WaitUntil([this] { return player.calls.size() >= 2; }));
    EXPECT_EQ(player.calls.front(), "GetPosition");
}

TEST_F(PreviewTransportTest, DragOfTheThumbLeavesTheClipPausedWhereItRests) {
    Image_Item* clip = AddClip("a.mp4", 40);
    PlayLoaded(clip);
    QWidget* thumb = bar->Thumb();
    const QPoint grip(10, 6);
    QTest::mousePress(thumb, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(thumb, grip + QPoint(70, 0));
    QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier, grip);
    ASSERT_FALSE(player.seeks.empty());
    EXPECT_EQ(player.calls.front(), "Pause");
    EXPECT_EQ(std::count(player.calls.begin(), player.calls.end(), "Play"), 0);
    // Thumb from 10 to 80 of 10..270: 70/260 of the 40-second clip.
    EXPECT_NEAR(player.seeks.back(), 40 * 70.0 / 260, 0.01);
}

TEST_F(PreviewTransportTest, SeekDuringAReleasedSeekIsIgnored) {
    Image_Item* clip = AddClip("a.mp4", 40);
    Click(clip);
    player.onSeek = [this] { transport->Seek(90, 0); };
    transport->Seek(50, 0);
    EXPECT_EQ(player.seeks, std::vector<double>{20});
    player.onSeek = nullptr;
    transport->Seek(25, 0);
    EXPECT_EQ(player.seeks, (std::vector<double>{20, 10}));
}

TEST_F(PreviewTransportTest, NestedPlayIsRefusedWithoutReachingTheLibrary) {
    AddClip("a.mp4", 40);
    transport->Play();
    player.calls.clear();
    // A library that reports the file open from inside its play call.
    player.onPlay = [this] {
        player.onPlay = nullptr;
        Loaded(true);
    };
    player.playResult = true;
    transport->Play();
    EXPECT_EQ(player.calls, (Calls{"Play", "SetVideoWindow"}));
}

TEST_F(PreviewTransportTest, LibraryEndingOrFailingStopsThePreview) {
    Image_Item* clip = AddClip("a.mp4", 40);
    for (const auto& [code, value] :
         std::vector<std::pair<uintptr_t, intptr_t>>{{PLAYER_EVENT_RUNNING, PLAYER_VALUE_GONE},
                                                     {PLAYER_EVENT_SEEK, PLAYER_VALUE_GONE},
                                                     {5, 0}}) {
        PlayLoaded(clip);
        transport->Message(WM_PLAYER_EVENT, code, value);
        EXPECT_EQ(transport->PlayerClip(), nullptr) << code;
        EXPECT_TRUE(picture->isVisible()) << code;
    }
    // A landed seek and the start of an open change nothing.
    PlayLoaded(clip);
    transport->Message(WM_PLAYER_EVENT, PLAYER_EVENT_SEEK, 1500);
    transport->Message(WM_PLAYER_EVENT, PLAYER_EVENT_OPENING, 0);
    EXPECT_TRUE(player.calls.empty());
    EXPECT_EQ(transport->PlayerClip(), clip);
}

TEST_F(PreviewTransportTest, EventFunctionRegisteredOnTheHookStopsOnEndAndError) {
    Image_Item* clip = AddClip("a.mp4", 40);
    transport->Message(WM_PLAYER_HOOK, 0, 0);
    ASSERT_TRUE(player.function);
    PlayLoaded(clip);
    player.function(2, 0, 0);
    EXPECT_EQ(transport->PlayerClip(), clip);
    player.function(PLAYER_CALL_END, 0, 0);
    EXPECT_EQ(transport->PlayerClip(), nullptr);
    PlayLoaded(clip);
    player.function(PLAYER_CALL_ERROR, -17, 0);
    EXPECT_EQ(transport->PlayerClip(), nullptr);
}

TEST_F(PreviewTransportTest, PlayingSilentlyIsSaidOnceInThePanelAndPlaybackGoesOn) {
    Image_Item* first = AddClip("a.mp4", 40);
    Image_Item* second = AddClip("b.mp4", 40);
    transport->Message(WM_PLAYER_HOOK, 0, 0);
    ASSERT_TRUE(player.function);
    EXPECT_TRUE(panel->Notice().isEmpty());

    PlayLoaded(first);
    player.function(PLAYER_CALL_SILENT, 0, 0);
    EXPECT_EQ(transport->PlayerClip(), first);
    EXPECT_TRUE(player.calls.empty()) << "nothing asked of the library";
    const QString notice = panel->Notice();
    EXPECT_TRUE(notice.contains(QStringLiteral("plays silently"))) << notice.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no box";

    // The line lies over the picture shown while nothing plays, at the panel's foot.
    auto* line = panel->findChild<QLabel*>();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->geometry().bottom(), panel->height() - 1);
    EXPECT_GT(panel->children().indexOf(line), panel->children().indexOf(picture));

    // A later clip on the same silent machine says nothing more once the line has gone.
    line->hide();
    PlayLoaded(second);
    player.function(PLAYER_CALL_SILENT, 0, 0);
    EXPECT_TRUE(panel->Notice().isEmpty());
}

TEST_F(PreviewTransportTest, RemovedItemsAreNeverTouched) {
    Image_Item* first = AddClip("a.mp4", 40);
    Image_Item* second = AddClip("b.mp4", 40);
    PlayLoaded(first);
    ASSERT_EQ(transport->CurrentClip(), first);
    ASSERT_EQ(transport->PlayerClip(), first);
    // Cropping deletes the unselected clips and tells nobody.
    first->MarkUnselected();
    second->MarkSelected();
    list->CropSelected();
    EXPECT_EQ(transport->CurrentClip(), nullptr);
    EXPECT_EQ(transport->PlayerClip(), nullptr);

    player.calls.clear();
    transport->MarkStart();
    transport->Seek(50, 0);
    SendMessage(&window, WM_RANGE_MARKER, 0);
    EXPECT_EQ(player.seeks, std::vector<double>{});
    EXPECT_EQ(second->Clip().StopTime, 40);
    // The survivor differs from the (gone) player clip: selecting it stops.
    SendMessage(&window, WM_CLIP_SELECTED, reinterpret_cast<uintptr_t>(second));
    EXPECT_EQ(transport->CurrentClip(), second);
}

TEST_F(PreviewTransportTest, ShutdownClosesTheLibraryAndForgetsTheEventFunction) {
    transport->Message(WM_PLAYER_HOOK, 0, 0);
    timer->start();
    delete picture;
    delete bar;
    player.calls.clear();
    transport->Shutdown();
    EXPECT_EQ(player.calls, (Calls{"Stop", "Close", "SetCallback"}));
    EXPECT_FALSE(player.function);
    EXPECT_FALSE(timer->isActive());
}

}  // namespace
