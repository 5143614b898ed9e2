#include "filtergraph.h"

#include "encodeerror.h"

namespace dero {

TFilterGraph TFilterGraph::ForVideo(const AVFrame& first, AVRational timeBase,
                                    const std::string& chain, int threads) {
    const AVRational sar =
        first.sample_aspect_ratio.num > 0 ? first.sample_aspect_ratio : AVRational{1, 1};
    const std::string args =
        "video_size=" + std::to_string(first.width) + "x" + std::to_string(first.height) +
        ":pix_fmt=" + std::to_string(first.format) + ":time_base=" + std::to_string(timeBase.num) +
        "/" + std::to_string(timeBase.den) + ":pixel_aspect=" + std::to_string(sar.num) + "/" +
        std::to_string(sar.den);
    TFilterGraph graph;
    graph.Build("buffer", args, "buffersink", chain, threads);
    return graph;
}

TFilterGraph TFilterGraph::ForAudio(const AVFrame& first, AVRational timeBase,
                                    const std::string& chain) {
    AVChannelLayout layout{};
    if (first.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&layout, first.ch_layout.nb_channels);
    } else {
        av_channel_layout_copy(&layout, &first.ch_layout);
    }
    char layoutText[128] = {0};
    av_channel_layout_describe(&layout, layoutText, sizeof layoutText);
    av_channel_layout_uninit(&layout);
    const std::string args =
        "time_base=" + std::to_string(timeBase.num) + "/" + std::to_string(timeBase.den) +
        ":sample_rate=" + std::to_string(first.sample_rate) +
        ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(first.format)) +
        ":channel_layout=" + layoutText;
    TFilterGraph graph;
    graph.Build("abuffer", args, "abuffersink", chain, 1);
    return graph;
}

void TFilterGraph::Build(const char* source, const std::string& sourceArgs, const char* sink,
                         const std::string& chain, int threads) {
    graph_.reset(avfilter_graph_alloc());
    if (!graph_) {
        throw TEncodeError("out of memory");
    }
    // The pipeline already runs each stage on its own thread; only where one stage is the longest
    // does it get more.
    graph_->nb_threads = threads;
    Check(avfilter_graph_create_filter(&source_, avfilter_get_by_name(source), "in",
                                       sourceArgs.c_str(), nullptr, graph_.get()),
          "filter source");
    Check(avfilter_graph_create_filter(&sink_, avfilter_get_by_name(sink), "out", nullptr, nullptr,
                                       graph_.get()),
          "filter sink");
    FilterInOutPtr outputs(avfilter_inout_alloc());
    FilterInOutPtr inputs(avfilter_inout_alloc());
    if (!outputs || !inputs) {
        throw TEncodeError("out of memory");
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source_;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink_;
    AVFilterInOut* in = inputs.release();
    AVFilterInOut* out = outputs.release();
    const std::string description =
        chain.empty() ? (std::string(sink[0] == 'a' ? "anull" : "null")) : chain;
    const int parsed =
        avfilter_graph_parse_ptr(graph_.get(), description.c_str(), &in, &out, nullptr);
    avfilter_inout_free(&in);
    avfilter_inout_free(&out);
    Check(parsed, "filter chain \"" + description + "\"");
    Check(avfilter_graph_config(graph_.get(), nullptr), "filter setup");
}

void TFilterGraph::Push(AVFrame* frame) {
    Check(av_buffersrc_add_frame_flags(source_, frame, AV_BUFFERSRC_FLAG_NO_CHECK_FORMAT),
          "filtering");
}

void TFilterGraph::Close(int64_t pts) {
    Check(av_buffersrc_close(source_, pts, 0), "filtering");
}

int TFilterGraph::Pull(AVFrame* frame) {
    const int result = av_buffersink_get_frame(sink_, frame);
    if (result < 0 && result != AVERROR(EAGAIN) && result != AVERROR_EOF) {
        Check(result, "filtering");
    }
    return result;
}

std::string TFilterGraph::UprightScale(int width, int height, int rotation, const char* flags) {
    const bool sideways = rotation % 180 != 0;
    std::string chain = "scale=" + std::to_string(sideways ? height : width) + ":" +
                        std::to_string(sideways ? width : height) + ":flags=" + flags;
    if (rotation == 90) {
        chain += ",transpose=clock";
    } else if (rotation == 180) {
        chain += ",hflip,vflip";
    } else if (rotation == 270) {
        chain += ",transpose=cclock";
    }
    return chain;
}

}  // namespace dero
