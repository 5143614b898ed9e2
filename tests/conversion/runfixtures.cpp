#include "runfixtures.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <memory>

#include "conversion/progresswindow.h"
#include "platform/windowhandle.h"

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

TConvertHost::TConvertHost(TProgressWindow* window)
    : window_(window), handle_(new TWindowHandle(this)) {}

intptr_t TConvertHost::WindowMessage(uint32_t message, uintptr_t, intptr_t) {
    if (message != WM_CONVERT_NEXT) {
        return 0;
    }
    ++nextMessages_;
    window_->ConvertNext();
    return 1;
}

DeroWindowHandle* TConvertHost::Handle() {
    return handle_->Handle();
}

TEntryOverride::TEntryOverride()
    : convert_(DllConvert),
      info_(DllSetInfoCallBack),
      percent_(DllSetPercentCallBack),
      stop_(DllStop) {}

TEntryOverride::~TEntryOverride() {
    DllConvert = convert_;
    DllSetInfoCallBack = info_;
    DllSetPercentCallBack = percent_;
    DllStop = stop_;
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
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0) {
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
