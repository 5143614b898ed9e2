// Every stock profile of every family, converted for real: the line taken apart, the vector built,
// the encoder library run on a generated clip, and the output read back.
#include <dlfcn.h>
#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <memory>
#include <vector>

#include "app/cliprecord.h"
#include "app/clipsource.h"
#include "app/convertsettings.h"
#include "app/encoderbinding.h"
#include "conversion/clipconverter.h"
#include "profiles/profileselection.h"
#include "support/tempdir.h"
#include "support/testmedia.h"

namespace {

class TOneClip : public TClipSource {
  public:
    explicit TOneClip(ClipRecord clip) : clip_(std::move(clip)) {}
    const ClipRecord* ClipAt(int32_t index) const override { return index == 0 ? &clip_ : nullptr; }

  private:
    ClipRecord clip_;
};

struct TDlClose {
    void operator()(void* library) const { dlclose(library); }
};

struct TInputClose {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

// What a converted file holds.
struct TOutputFacts {
    std::string brand;
    AVCodecID videoCodec = AV_CODEC_ID_NONE;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    AVCodecID audioCodec = AV_CODEC_ID_NONE;
    int sampleRate = 0;
    int channels = 0;
};

bool ReadOutput(const QString& path, TOutputFacts& facts) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0) {
        return false;
    }
    std::unique_ptr<AVFormatContext, TInputClose> context(raw);
    if (avformat_find_stream_info(context.get(), nullptr) < 0) {
        return false;
    }
    if (const AVDictionaryEntry* brand =
            av_dict_get(context->metadata, "major_brand", nullptr, 0)) {
        facts.brand = brand->value;
    }
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVCodecParameters* codec = stream->codecpar;
        if (codec->codec_type == AVMEDIA_TYPE_VIDEO) {
            facts.videoCodec = codec->codec_id;
            facts.width = codec->width;
            facts.height = codec->height;
            facts.frameRate = av_q2d(stream->r_frame_rate);
        } else if (codec->codec_type == AVMEDIA_TYPE_AUDIO) {
            facts.audioCodec = codec->codec_id;
            facts.sampleRate = codec->sample_rate;
            facts.channels = codec->ch_layout.nb_channels;
        }
    }
    return true;
}

std::string BrandOf(const QString& format) {
    if (format == QLatin1String("3gp")) {
        return "3gp4";
    }
    return format == QLatin1String("psp") ? "MSNV" : "isom";
}

class StockProfilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
#ifndef DERO_HAVE_ENCODER
        GTEST_SKIP() << "the encoder library is not part of this build";
#endif
        if (!TestMedia::Available()) {
            GTEST_SKIP() << "the ffmpeg command is needed to make the source clip";
        }
        library_.reset(dlopen(DERO_BIN_DIR "/libEncoder.so", RTLD_NOW));
        ASSERT_TRUE(library_) << dlerror();
        auto init =
            reinterpret_cast<MyDll_Init_t>(dlsym(library_.get(), DERO_ENCODER_NAME(MyDll_Init)));
        convert_ = reinterpret_cast<X_t>(dlsym(library_.get(), DERO_ENCODER_NAME(_X)));
        ASSERT_TRUE(init && convert_);
        init();
        ASSERT_TRUE(QFileInfo::exists(ProfileFile()));
    }

    static QString ProfileFile() {
        return QStringLiteral(DERO_BIN_DIR "/Output.dll");
    }

    std::unique_ptr<void, TDlClose> library_;
    X_t convert_ = nullptr;
    TempDir dir_;
};

TEST_F(StockProfilesTest, EveryStockProfileConvertsToWhatItPromises) {
    // A wide source, so that every profile letter-boxes it.
    TestMedia::Recipe recipe;
    recipe.width = 256;
    recipe.height = 144;
    recipe.seconds = 1.2;
    recipe.audioChannels = 2;
    recipe.sampleRate = 44100;
    const QString source = dir_.Path() + QStringLiteral("source clip.mp4");
    ASSERT_TRUE(TestMedia::Make(source.toStdString(), recipe));
    ClipRecord clip;
    clip.SourceFile = source;
    clip.Duration = 2;
    clip.Width = 256;
    clip.Height = 144;
    clip.StopTime = 1;
    const TOneClip clips(clip);
    ASSERT_TRUE(QDir(dir_.Path()).mkdir(QStringLiteral("out")));

    const X_t bound = DllConvert;
    DllConvert = convert_;
    QComboBox box;
    TProfileSelection selection(&box, ProfileFile(), dir_.Path());
    int converted = 0;
    for (int32_t family = 0; family <= 4; ++family) {
        selection.SelectDeviceFamily(family);
        ASSERT_GE(box.count(), 4) << "family " << family << " has too few stock profiles";
        ASSERT_LE(box.count(), 7) << "family " << family << " has too many stock profiles";
        for (int i = 0; i + 1 < box.count(); ++i) {
            box.setCurrentIndex(i);
            const QString line = box.currentText();
            SCOPED_TRACE(line.toStdString());
            EXPECT_LE(line.indexOf(QStringLiteral(" : Video: ")), 15);

            ConvertSettings settings;
            ASSERT_TRUE(selection.ApplySelectedProfile(settings));
            const TOutputState& state = selection.State();
            TClipConverter converter(settings);
            ASSERT_TRUE(
                converter.PrepareClip(clips, 0,
                                      {dir_.Path() + QStringLiteral("out/"), state.OutputExt,
                                       state.OutputWidth, state.OutputHeight, true}));
            ASSERT_EQ(converter.ConvertClip(nullptr), 0);
            ++converted;

            EXPECT_TRUE(settings.OutputFile.endsWith(state.OutputExt));
            TOutputFacts facts;
            ASSERT_TRUE(ReadOutput(settings.OutputFile, facts));
            EXPECT_EQ(facts.brand, BrandOf(settings.Format));
            EXPECT_EQ(facts.videoCodec, AV_CODEC_ID_MPEG4);
            EXPECT_EQ(facts.width, state.OutputWidth);
            EXPECT_EQ(facts.height, state.OutputHeight);
            EXPECT_NEAR(facts.frameRate, settings.FrameRate.toDouble(), 0.01);
            EXPECT_EQ(facts.audioCodec, AV_CODEC_ID_AAC);
            EXPECT_EQ(facts.sampleRate, settings.SampleRate.toInt());
            EXPECT_EQ(facts.channels, settings.AudioChannels.toInt());
        }
    }
    DllConvert = bound;
    EXPECT_GE(converted, 20);
}

}  // namespace
