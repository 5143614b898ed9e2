// Adds 500 clips to a skinned list panel through the add-files command (worker thread, queued
// hand-over, item built on the user-interface thread) and then scrolls through them, reporting
// how long the user-interface thread was kept away from its event loop.
//
//   clip-list-bench [--count N] [--real MEDIA_FILE]
//
// Without --real the probe entries are an in-process stand-in that writes a real 80 x 60 JPEG
// snapshot, so the measured user-interface work (JPEG already decoded on the worker, item face,
// layout, painting) is that of a real add while the probing itself costs nearly nothing. With
// --real the encoder library from the program folder probes MEDIA_FILE N times.
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/encoderbinding.h"
#include "app/pubfunction.h"
#include "clips/addfilescommand.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"

namespace {

struct Stats {
    std::vector<double> samples;  // milliseconds
    void Add(double ms) { samples.push_back(ms); }
    void Print(const char* name) {
        if (samples.empty()) {
            std::printf("%-34s no samples\n", name);
            return;
        }
        std::vector<double> sorted = samples;
        std::sort(sorted.begin(), sorted.end());
        double sum = 0;
        for (double s : sorted) {
            sum += s;
        }
        const auto at = [&](double q) {
            return sorted[std::min(sorted.size() - 1, static_cast<size_t>(q * sorted.size()))];
        };
        std::printf("%-34s n=%-5zu mean=%7.3f  p50=%7.3f  p99=%7.3f  max=%7.3f ms\n", name,
                    sorted.size(), sum / sorted.size(), at(0.5), at(0.99), sorted.back());
    }
};

// Measures the gaps between event-loop passes: a 1 ms timer that notes how late it fires.
class StallMonitor : public QObject {
  public:
    StallMonitor() {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    }
    void Start() {
        gaps_ = {};
        clock_.start();
        last_ = 0;
        timer_.start(1);
    }
    void Stop() { timer_.stop(); }
    Stats& Gaps() { return gaps_; }
    int Over(double ms) const {
        return static_cast<int>(std::count_if(gaps_.samples.begin(), gaps_.samples.end(),
                                              [ms](double g) { return g > ms; }));
    }

  private:
    void Tick() {
        const qint64 now = clock_.nsecsElapsed();
        gaps_.Add((now - last_) / 1e6);
        last_ = now;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    Stats gaps_;
};

QImage Strip(int frameWidth, int height) {
    QImage strip(frameWidth * 3, height, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int i = 0; i < 3; ++i) {
        painter.fillRect(i * frameWidth, 0, frameWidth, height, QColor(60 + 60 * i, 90, 200));
    }
    return strip;
}

QImage Solid(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray PatternJpeg() {
    QImage image(80, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            image.setPixel(x, y, qRgb(x * 3, y * 4, (x * y) & 255));
        }
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return data;
}

// Probe entries that answer at once and leave a real JPEG snapshot behind.
TProbeEntries InstantEntries() {
    static std::string name;
    static char video[] = "mpeg4";
    static char audio[] = "aac";
    static const QByteArray jpeg = PatternJpeg().leftJustified(2048, '\0');
    TProbeEntries entries;
    entries.GetFileInfo = [](const char* fileName, MediaFileInfo* info) {
        name = fileName;
        *info = MediaFileInfo{};
        info->FileName = name.data();
        info->Duration = 125;
        info->VideoFormat = video;
        info->AudioFormat = audio;
        info->Width = 640;
        info->Height = 480;
        return 0;
    };
    entries.GetFilePic = [](const char*, int32_t, const char*, const char* path) {
        QFile file(QString::fromUtf8(path));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(jpeg);
        }
        return 0;
    };
    return entries;
}

bool SkinPanel(TListPanel& panel) {
    bool ok = panel.SetThumbBitmap(Strip(16, 30));
    ok = panel.SetTrackBitmap(Solid(16, 8, Qt::darkGray)) && ok;
    ok = panel.SetBackgroundBitmap(Solid(4, 4, QColor(10, 20, 30))) && ok;
    ok = panel.SetUpButtonBitmap(Strip(16, 16)) && ok;
    ok = panel.SetDownButtonBitmap(Strip(16, 16)) && ok;
    panel.SetBottomBitmap(Solid(392, 6, QColor(0, 0, 160)));
    panel.setGeometry(10, 10, Image_Item::ItemWidth + 4 + 16, 300);
    return panel.LayOut() && ok;
}

// Times every event the user-interface thread handles at the top level; the queued hand-overs
// of the add-files worker are kept apart.
class BenchApplication : public QApplication {
  public:
    using QApplication::QApplication;
    QObject* HandOverTarget = nullptr;
    Stats HandOvers;
    Stats Events;
    bool Recording = false;

    bool notify(QObject* receiver, QEvent* event) override {
        if (!Recording || depth_ > 0) {
            return QApplication::notify(receiver, event);
        }
        const bool handOver = receiver == HandOverTarget && event->type() == QEvent::MetaCall;
        QElapsedTimer clock;
        clock.start();
        ++depth_;
        const bool result = QApplication::notify(receiver, event);
        --depth_;
        const double ms = clock.nsecsElapsed() / 1e6;
        (handOver ? HandOvers : Events).Add(ms);
        return result;
    }

  private:
    int depth_ = 0;
};

void AddPhase(BenchApplication& app, TAddFilesCommand& command, TListPanel& panel,
              const QStringList& files, StallMonitor& monitor) {
    command.SetOpenDialog([files](QWidget*) { return files; });
    app.HandOverTarget = &command;
    QElapsedTimer total;
    total.start();
    monitor.Start();
    app.Recording = true;
    command.Execute();
    while (command.AddingFiles()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    app.Recording = false;
    monitor.Stop();
    std::printf("added %d clips in %.1f ms\n", panel.Count(), total.nsecsElapsed() / 1e6);
    app.HandOvers.Print("hand-over (item, face, layout)");
    app.Events.Print("other events while adding");
    monitor.Gaps().Print("event-loop gap while adding");
    std::printf("%-34s %d over 16 ms, %d over 50 ms\n", "", monitor.Over(16), monitor.Over(50));
}

// The same hand-over split in two, on a second panel: building the item (widget, face) and
// appending it (layout, first paint).
void SplitPhase(TListPanel& panel, int count) {
    Stats build;
    Stats append;
    QImage thumbnail = QImage::fromData(PatternJpeg(), "JPG");
    ClipRecord record;
    record.Duration = 125;
    record.VideoFormat = "mpeg4";
    record.AudioFormat = "aac";
    record.Width = 640;
    record.Height = 480;
    for (int i = 0; i < count; ++i) {
        record.SourceFile = QStringLiteral("/media/clip %1.avi").arg(i);
        QElapsedTimer clock;
        clock.start();
        auto* item = new Image_Item(&panel);
        item->Fill(record, thumbnail);
        build.Add(clock.nsecsElapsed() / 1e6);
        clock.restart();
        panel.AddItem(item);
        append.Add(clock.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
    }
    build.Print("split: build item and face");
    append.Print("split: AddItem");
}

template <typename Step>
void ScrollPhase(const char* name, int steps, TListPanel& panel, Step step) {
    Stats stats;
    for (int i = 0; i < steps; ++i) {
        QElapsedTimer clock;
        clock.start();
        step(i);
        panel.window()->repaint();  // the scroll is only done once it is on screen
        stats.Add(clock.nsecsElapsed() / 1e6);
    }
    stats.Print(name);
}

void ScrollPhases(TListPanel& panel) {
    TImageButton* thumb = panel.Thumb();
    const int range = panel.ThumbTopMax() - panel.ThumbTopMin();
    // The drag follows the cursor's screen position, and the thumb moves under it.
    const QPoint start = thumb->mapToGlobal(QPoint(5, 5));
    QTest::mousePress(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ScrollPhase("thumb drag, per pixel", range, panel, [&](int i) {
        QTest::mouseMove(thumb, thumb->mapFromGlobal(start + QPoint(0, i + 1)));
    });
    QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier,
                        thumb->mapFromGlobal(start + QPoint(0, range)));
    std::printf("after the drag: thumb at %d of %d..%d, content top %d\n", thumb->y(),
                panel.ThumbTopMin(), panel.ThumbTopMax(), panel.ContentPanel()->y());
    ScrollPhase("track click", 200, panel, [&](int i) {
        QTest::mouseClick(panel.Track(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(5, (i * 37) % panel.height()));
    });
    ScrollPhase("scroll button press", 200, panel, [&](int i) {
        TImageButton* button = i % 100 < 50 ? panel.UpButton() : panel.DownButton();
        QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    });
    std::printf("content top at the end: %d (of %d clips)\n", panel.ContentPanel()->y(),
                panel.Count());
}

}  // namespace

int main(int argc, char** argv) {
    BenchApplication app(argc, argv);
    int count = 500;
    QString realMedia;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--count") == 0) {
            count = std::max(1, atoi(argv[++i]));
        } else if (qstrcmp(argv[i], "--real") == 0) {
            realMedia = QString::fromLocal8Bit(argv[++i]);
        }
    }
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));

    QTemporaryDir snapshots;
    path_Snapshot = snapshots.path() + "/";
    TEncoderBinding binding;
    TProbeEntries entries = InstantEntries();
    QStringList files;
    if (!realMedia.isEmpty()) {
        if (!binding.Load(QStringLiteral(DERO_BIN_DIR "/libEncoder.so"))) {
            std::fprintf(stderr, "cannot load the encoder library\n");
            return 1;
        }
        DllInit();
        entries = TProbeEntries::FromLibrary();
        std::printf("probing %s through the encoder library\n", qPrintable(realMedia));
    }
    for (int i = 0; i < count; ++i) {
        files << (realMedia.isEmpty() ? QStringLiteral("/media/clip %1.avi").arg(i) : realMedia);
    }

    QWidget window;
    window.resize(460, 330);
    auto* panel = new TListPanel(&window);
    if (!SkinPanel(*panel)) {
        std::fprintf(stderr, "panel set-up failed\n");
        return 1;
    }
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not exposed\n");
    }

    StallMonitor monitor;
    TAddFilesCommand command(&window, panel, entries);
    AddPhase(app, command, *panel, files, monitor);
    ScrollPhases(*panel);

    QWidget second;
    second.resize(460, 330);
    auto* secondPanel = new TListPanel(&second);
    SkinPanel(*secondPanel);
    second.show();
    SplitPhase(*secondPanel, count);
    return 0;
}
