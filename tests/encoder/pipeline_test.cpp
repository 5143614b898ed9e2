#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "pipeline.h"

namespace {

// Stages that wait until the pipeline wakes them, as the real ones wait on their queues.
class PipelineTest : public ::testing::Test {
  protected:
    std::vector<dero::TPipeline::TStage> WaitingStages(int count) {
        std::vector<dero::TPipeline::TStage> stages;
        for (int i = 0; i < count; ++i) {
            stages.emplace_back([this] {
                while (!woken_.load()) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                ++ended_;
            });
        }
        return stages;
    }
    dero::TPipeline::TStage Wake() {
        return [this] { woken_ = true; };
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> woken_{false};
    std::atomic<int> ended_{0};
};

TEST_F(PipelineTest, AThreadThatCannotStartFailsTheRunAndTheStartedOnesAreJoined) {
    int started = 0;
    dero::TPipeline pipeline(stop_, [&started](dero::TPipeline::TStage stage) {
        if (++started > 2) {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return std::thread(std::move(stage));
    });
    pipeline.Run(WaitingStages(4), Wake(), [] {});
    EXPECT_EQ(pipeline.Error().rfind("out of resources", 0), 0u) << pipeline.Error();
    EXPECT_EQ(ended_.load(), 2);
}

TEST_F(PipelineTest, WhatAStageOrTheReportThrowsFailsTheRunInsteadOfTheProgram) {
    {
        dero::TPipeline pipeline(stop_);
        std::vector<dero::TPipeline::TStage> stages = WaitingStages(2);
        stages.emplace_back([] { throw 42; });
        pipeline.Run(stages, Wake(), [] {});
        EXPECT_EQ(pipeline.Error(), "internal failure");
        EXPECT_EQ(ended_.load(), 2);
    }
    woken_ = false;
    ended_ = 0;
    dero::TPipeline pipeline(stop_);
    pipeline.Run(WaitingStages(2), Wake(), [] { throw std::runtime_error("no memory for text"); });
    EXPECT_EQ(pipeline.Error(), "internal failure: no memory for text");
    EXPECT_EQ(ended_.load(), 2);
}

}  // namespace
