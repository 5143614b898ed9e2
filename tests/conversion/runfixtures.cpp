#include "runfixtures.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <QFile>
#include <memory>

#include "platform/localpath.h"

namespace runfixtures {

const ClipRecord* TVectorClips::ClipAt(int32_t index) const {
    return index >= 0 && index < static_cast<int32_t>(clips.size())
               ? &clips[static_cast<size_t>(index)]
               : nullptr;
}

void TVectorClips::Add(const QString& file, int32_t start, int32_t stop, int32_t width,
                       int32_t height) {
    ClipRecord clip;
    clip.SourceFile = file;
    clip.Duration = stop;
    clip.StartTime = start;
    clip.StopTime = stop;
    clip.Width = width;
    clip.Height = height;
    clips.push_back(clip);
}

TEntryOverride::TEntryOverride()
    : convert_(DllConvert),
      info_(DllSetInfoCallBack),
      percent_(DllSetPercentCallBack),
      stop_(DllStop),
      unInit_(DllUnInit) {}

TEntryOverride::~TEntryOverride() {
    DllConvert = convert_;
    DllSetInfoCallBack = info_;
    DllSetPercentCallBack = percent_;
    DllStop = stop_;
    DllUnInit = unInit_;
}

TFakeLibrary& Fake() {
    static TFakeLibrary fake;
    return fake;
}

namespace {

int FakeConvert(DeroWindowHandle*, int32_t argc, char** argv) {
    Fake().calls << QStringLiteral("_X");
    if (argc == 38) {
        Fake().inputs << QString::fromUtf8(argv[7]);
        Fake().outputs << QString::fromUtf8(argv[37]);
        if (Fake().writeFiles) {
            QFile file(Fake().outputs.last());
            file.open(QIODevice::WriteOnly);
            file.write("converted");
        }
    }
    return 0;
}
int FakeSetInfo(DeroInfoCallback callback) {
    Fake().calls << (callback ? QStringLiteral("info") : QStringLiteral("info-null"));
    Fake().info = callback;
    return 0;
}
int FakeSetPercent(DeroPercentCallback callback) {
    Fake().calls << (callback ? QStringLiteral("percent") : QStringLiteral("percent-null"));
    Fake().percent = callback;
    return 0;
}
int FakeStop() {
    Fake().calls << QStringLiteral("stop");
    return 0;
}
int FakeUnInit() {
    Fake().calls << QStringLiteral("uninit");
    return 0;
}

}  // namespace

void UseFakeLibrary() {
    Fake() = TFakeLibrary();
    DllConvert = &FakeConvert;
    DllSetInfoCallBack = &FakeSetInfo;
    DllSetPercentCallBack = &FakeSetPercent;
    DllStop = &FakeStop;
    DllUnInit = &FakeUnInit;
}

bool BindEncoderOnce() {
#ifdef DERO_HAVE_ENCODER
    // Never unloaded: the media libraries' lifetime allocations would look like leaks.
    static TEncoderBinding* const binding = [] {
        auto* bound = new TEncoderBinding;
        if (bound->Load(QStringLiteral(DERO_BIN_DIR "/libEncoder.so"))) {
            DllInit();
        }
        return bound;
    }();
    return binding->IsLoaded();
#else
    return false;
#endif
}

namespace {

struct TInputClose {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

}  // namespace

TOutputFacts ReadOutput(const QString& path) {
    TOutputFacts facts;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, TLocalPath::Encode(path).constData(), nullptr, nullptr) < 0) {
        return facts;
    }
    std::unique_ptr<AVFormatContext, TInputClose> context(raw);
    if (avformat_find_stream_info(context.get(), nullptr) < 0) {
        return facts;
    }
    facts.readable = true;
    facts.seconds = context->duration > 0 ? double(context->duration) / AV_TIME_BASE : 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters* codec = context->streams[i]->codecpar;
        if (codec->codec_type == AVMEDIA_TYPE_VIDEO && codec->codec_id == AV_CODEC_ID_MPEG4) {
            facts.hasVideo = true;
            facts.width = codec->width;
            facts.height = codec->height;
        } else if (codec->codec_type == AVMEDIA_TYPE_AUDIO && codec->codec_id == AV_CODEC_ID_AAC) {
            facts.hasAudio = true;
        }
    }
    return facts;
}

}  // namespace runfixtures
