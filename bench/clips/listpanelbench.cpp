// Adds clips to a skinned list panel through the add-files command (worker thread, queued
// hand-over, item built on the user-interface thread) and then scrolls through them, reporting
// how long the user-interface thread was kept away from its event loop, and how much of that was
// its own work rather than waiting for a core.
//
//   clip-list-bench [--count N[,N...]] [--real MEDIA_FILE | --real-set FOLDER]
//
// Without --real or --real-set the probe entries are an in-process stand-in that writes a real
// 80 x 60 JPEG snapshot, so the measured user-interface work (JPEG already decoded on the worker,
// item face, layout, painting) is that of a real add while the probing itself costs nearly
// nothing. With --real the encoder library from the program folder probes MEDIA_FILE N times.
// With --real-set it probes N files of five kinds (H.264 MP4, MPEG-4 AVI, MPEG-2 MPG, 3GP, HEVC
// MOV) made once in FOLDER with the `ffmpeg` command. Each count is a new panel; for each, the
// same files are first probed one after another on this thread alone, the floor no add can beat.
#include <sys/resource.h>
#include <unistd.h>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QDir>
#include <QProcess>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/encoderbinding.h"
#include "app/pubfunction.h"
#include "clips/addfilescommand.h"
#include "clips/clipprober.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "stallmeter.h"

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
        std::printf("%-34s n=%-5zu mean=%7.3f  p50=%7.3f  p99=%7.3f  max=%7.3f  sum=%8.1f ms\n",
                    name, sorted.size(), sum / sorted.size(), at(0.5), at(0.99), sorted.back(),
                    sum);
    }
};

double Ms(qint64 ns) {
    return ns / 1e6;
}

qint64 ProcessCpuNs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (qint64{usage.ru_utime.tv_sec} + usage.ru_stime.tv_sec) * 1000000000 +
           (qint64{usage.ru_utime.tv_usec} + usage.ru_stime.tv_usec) * 1000;
}

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

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
    Stats HandOverCpu;
    Stats Events;
    Stats EventCpu;
    bool Recording = false;

    void Reset() {
        HandOvers = {};
        HandOverCpu = {};
        Events = {};
        EventCpu = {};
    }

    bool notify(QObject* receiver, QEvent* event) override {
        if (!Recording || depth_ > 0) {
            return QApplication::notify(receiver, event);
        }
        const bool handOver = receiver == HandOverTarget && event->type() == QEvent::MetaCall;
        QElapsedTimer clock;
        clock.start();
        const qint64 cpu = TStallMeter::ThreadCpuNs();
        ++depth_;
        const bool result = QApplication::notify(receiver, event);
        --depth_;
        const double ms = clock.nsecsElapsed() / 1e6;
        (handOver ? HandOvers : Events).Add(ms);
        (handOver ? HandOverCpu : EventCpu).Add(Ms(TStallMeter::ThreadCpuNs() - cpu));
        return result;
    }

  private:
    int depth_ = 0;
};

// The probe worker's own CPU time, read on the worker after each entry call: the thread is new
// for each add, so its clock starts at 0 with it.
TProbeEntries WorkerTimed(TProbeEntries entries, std::shared_ptr<std::atomic<qint64>> workerCpu) {
    auto info = std::move(entries.GetFileInfo);
    auto picture = std::move(entries.GetFilePic);
    entries.GetFileInfo = [info, workerCpu](const char* fileName, MediaFileInfo* facts) {
        const int result = info(fileName, facts);
        workerCpu->store(TStallMeter::ThreadCpuNs());
        return result;
    };
    entries.GetFilePic = [picture, workerCpu](const char* fileName, int32_t second,
                                              const char* size, const char* path) {
        const int result = picture(fileName, second, size, path);
        workerCpu->store(TStallMeter::ThreadCpuNs());
        return result;
    };
    return entries;
}

// Wall time of probing every file one after another on this thread, with nothing else to do:
// what the worker does, less the hand-over, so no add can finish sooner.
qint64 ProbeFloorNs(const TProbeEntries& entries, const QStringList& files) {
    const TClipProber prober(entries);
    const QString snapshot = TClipProber::SnapshotPath(path_Snapshot, 9999);
    QElapsedTimer clock;
    clock.start();
    for (const QString& file : files) {
        prober.Probe(file, snapshot);
    }
    return clock.nsecsElapsed();
}

struct AddFigures {
    qint64 wallNs = 0, uiCpuNs = 0, uiQueuedNs = 0, processCpuNs = 0, workerCpuNs = 0;
};

void PrintAdd(BenchApplication& app, const TStallMeter& meter, const AddFigures& f, int clips,
              qint64 floorNs) {
    const double perClip = clips > 0 ? Ms(f.uiCpuNs) / clips : 0;
    std::printf(
        "user-interface thread: own CPU %.1f ms (%.3f ms per clip), %.1f ms ready without "
        "a core, %.1f ms idle or waiting for the worker\n",
        Ms(f.uiCpuNs), perClip, Ms(f.uiQueuedNs), Ms(f.wallNs - f.uiCpuNs - f.uiQueuedNs));
    std::printf("probe worker: CPU %.1f ms; the process's other threads %.1f ms\n",
                Ms(f.workerCpuNs), Ms(f.processCpuNs - f.uiCpuNs - f.workerCpuNs));
    std::printf(
        "longest stall %.1f ms (own CPU %.1f ms, ready without a core %.1f ms); %d over "
        "50 ms\n",
        meter.LongestStallMs(), meter.LongestStallCpuMs(), meter.LongestStallQueuedMs(),
        meter.StallsOver50Ms());
    std::printf("wall %.1f ms against the probe floor %.1f ms: %.2f\n", Ms(f.wallNs), Ms(floorNs),
                floorNs > 0 ? double(f.wallNs) / floorNs : 0);
    app.HandOvers.Print("hand-over wall (item, face, layout)");
    app.HandOverCpu.Print("hand-over own CPU");
    app.Events.Print("other events while adding");
    app.EventCpu.Print("other events' own CPU");
}

void AddPhase(BenchApplication& app, TAddFilesCommand& command, TListPanel& panel,
              const QStringList& files, const std::atomic<qint64>& workerCpu, qint64 floorNs) {
    command.SetOpenDialog([files](QWidget*) { return files; });
    app.HandOverTarget = &command;
    app.Reset();
    TStallMeter meter;
    const std::string loadBefore = LoadAverage();
    QElapsedTimer total;
    AddFigures f;
    f.uiCpuNs = TStallMeter::ThreadCpuNs();
    f.uiQueuedNs = TStallMeter::ThreadQueuedNs();
    f.processCpuNs = ProcessCpuNs();
    total.start();
    meter.Start();
    app.Recording = true;
    // The thread waits in its event loop as the program's would; a polling loop here would
    // count its own spinning as the user-interface thread's work.
    QEventLoop loop;
    QObject::connect(&command, &TAddFilesCommand::AddingFinished, &loop, &QEventLoop::quit);
    command.Execute();
    if (command.AddingFiles()) {
        loop.exec();
    }
    app.Recording = false;
    meter.Stop();
    f.wallNs = total.nsecsElapsed();
    f.uiCpuNs = TStallMeter::ThreadCpuNs() - f.uiCpuNs;
    f.uiQueuedNs = TStallMeter::ThreadQueuedNs() - f.uiQueuedNs;
    f.processCpuNs = ProcessCpuNs() - f.processCpuNs;
    f.workerCpuNs = workerCpu.load();
    std::printf("\nadded %d clips in %.1f ms (load average %s before, %s after)\n", panel.Count(),
                Ms(f.wallNs), loadBefore.c_str(), LoadAverage().c_str());
    PrintAdd(app, meter, f, panel.Count(), floorNs);
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

struct Kind {
    const char* file;
    QStringList make;  // the ffmpeg command's options after the two test sources
};

// Eight seconds of moving picture and a tone, so the snapshot at 5 s is a real picture.
QStringList TestSources(const QString& size) {
    return {"-f", "lavfi", "-i", "testsrc2=size=" + size + ":rate=25:duration=8",
            "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=8"};
}

// count names that cycle through the five kinds, each a hard link to the kind's file: every clip
// is a file of its own, with real content. Empty when a file cannot be made.
QStringList MakeRealSet(const QString& folder, int count) {
    const std::vector<std::pair<Kind, QString>> kinds = {
        {{"kind-h264.mp4", {"-c:v", "libx264", "-preset", "veryfast", "-c:a", "aac"}}, "640x360"},
        {{"kind-mpeg4.avi", {"-c:v", "mpeg4", "-q:v", "4", "-c:a", "libmp3lame"}}, "640x480"},
        {{"kind-mpeg2.mpg", {"-c:v", "mpeg2video", "-b:v", "4M", "-c:a", "mp2", "-f", "mpeg"}},
         "720x576"},
        {{"kind-mpeg4.3gp", {"-c:v", "mpeg4", "-c:a", "aac", "-ar", "22050", "-ac", "1"}},
         "176x144"},
        {{"kind-hevc.mov",
          {"-c:v", "libx265", "-preset", "ultrafast", "-x265-params", "log-level=error", "-tag:v",
           "hvc1", "-c:a", "aac"}},
         "1280x720"},
    };
    QDir().mkpath(folder);
    QStringList made;
    for (const auto& [kind, size] : kinds) {
        const QString path = folder + "/" + kind.file;
        if (!QFileInfo::exists(path)) {
            const QStringList arguments =
                QStringList{"-hide_banner", "-nostdin", "-loglevel", "error", "-y"} +
                TestSources(size) + kind.make + QStringList{path};
            if (QProcess::execute("ffmpeg", arguments) != 0) {
                std::fprintf(stderr, "could not make %s\n", qPrintable(path));
                return {};
            }
        }
        made << path;
    }
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString& kind = made[i % made.size()];
        const QString name = folder + QStringLiteral("/clip-%1.").arg(i, 4, 10, QChar('0')) +
                             QFileInfo(kind).suffix();
        if (!QFileInfo::exists(name) &&
            link(QFile::encodeName(kind).constData(), QFile::encodeName(name).constData()) != 0) {
            std::fprintf(stderr, "could not link %s\n", qPrintable(name));
            return {};
        }
        files << name;
    }
    return files;
}

struct Options {
    std::vector<int> counts = {500};
    QString realMedia;
    QString realSet;
};

Options ReadOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--count") == 0) {
            options.counts.clear();
            for (const QString& count : QString::fromLocal8Bit(argv[++i]).split(',')) {
                options.counts.push_back(std::max(1, count.toInt()));
            }
        } else if (qstrcmp(argv[i], "--real") == 0) {
            options.realMedia = QString::fromLocal8Bit(argv[++i]);
        } else if (qstrcmp(argv[i], "--real-set") == 0) {
            options.realSet = QString::fromLocal8Bit(argv[++i]);
        }
    }
    return options;
}

QStringList FilesFor(const Options& options, int count) {
    if (!options.realSet.isEmpty()) {
        return MakeRealSet(options.realSet, count);
    }
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << (options.realMedia.isEmpty() ? QStringLiteral("/media/clip %1.avi").arg(i)
                                              : options.realMedia);
    }
    return files;
}

// A window holding one skinned panel; false when the panel's set-up failed.
bool ShowPanel(QWidget& window, TListPanel*& panel) {
    window.resize(460, 330);
    panel = new TListPanel(&window);
    if (!SkinPanel(*panel)) {
        std::fprintf(stderr, "panel set-up failed\n");
        return false;
    }
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not exposed\n");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    BenchApplication app(argc, argv);
    const Options options = ReadOptions(argc, argv);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));

    QTemporaryDir snapshots;
    path_Snapshot = snapshots.path() + "/";
    TEncoderBinding binding;
    TProbeEntries entries = InstantEntries();
    if (!options.realMedia.isEmpty() || !options.realSet.isEmpty()) {
        if (!binding.Load(QStringLiteral(DERO_BIN_DIR "/libEncoder.so"))) {
            std::fprintf(stderr, "cannot load the encoder library\n");
            return 1;
        }
        DllInit();
        entries = TProbeEntries::FromLibrary();
        std::printf(
            "probing %s through the encoder library\n",
            qPrintable(options.realSet.isEmpty() ? options.realMedia : options.realSet + "/*"));
    }
    auto workerCpu = std::make_shared<std::atomic<qint64>>(0);
    const TProbeEntries timed = WorkerTimed(entries, workerCpu);

    std::vector<std::unique_ptr<QWidget>> windows;
    TListPanel* panel = nullptr;
    for (const int count : options.counts) {
        const QStringList files = FilesFor(options, count);
        if (files.isEmpty()) {
            return 1;
        }
        const qint64 floorNs = ProbeFloorNs(entries, files);
        windows.push_back(std::make_unique<QWidget>());
        if (!ShowPanel(*windows.back(), panel)) {
            return 1;
        }
        workerCpu->store(0);
        TAddFilesCommand command(windows.back().get(), panel, timed);
        AddPhase(app, command, *panel, files, *workerCpu, floorNs);
    }
    std::printf("\n");
    ScrollPhases(*panel);

    QWidget second;
    TListPanel* secondPanel = nullptr;
    ShowPanel(second, secondPanel);
    SplitPhase(*secondPanel, options.counts.back());
    return 0;
}
