#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "callbackrecorder.h"
#include "encoderlib.h"
#include "support/tempdir.h"
#include "support/testmedia.h"

// The 38-entry argument vector as the program builds it, with the program's usual values.
struct TConvertArguments {
    std::string start = "00:00:00";
    std::string length = "2";
    std::string input;
    std::string volume = "100";
    std::string padTop = "0";
    std::string padBottom = "0";
    std::string padLeft = "0";
    std::string padRight = "0";
    std::string frameSize = "176x144";
    std::string frameRate = "15";
    std::string videoKbps = "128";
    std::string channels = "2";
    std::string sampleRate = "22050";
    std::string audioKbps = "48";
    std::string format = "mp4";
    std::string output;

    std::vector<std::string> Vector() const;
};

// Loads the library once for the test program and makes each source clip once.
class TEncoderFixture : public ::testing::Test {
  protected:
    void SetUp() override;

    static TEncoderLib& Lib();
    static const TempDir& Media();
    // The clip `name` (a file name with extension) made to recipe, generated on first use.
    static std::string Clip(const std::string& name, const TestMedia::Recipe& recipe);
    // A fresh path in this test's scratch folder.
    std::string OutputPath(const std::string& name) const { return scratch_.PathStd() + name; }

    // Converts on the calling thread (null window); the library's result.
    static int ConvertNow(const std::vector<std::string>& arguments);
    static int ConvertNow(const TConvertArguments& arguments) {
        return ConvertNow(arguments.Vector());
    }
    static bool FileExists(const std::string& path);

    TCallbackRecorder& recorder_ = TCallbackRecorder::Instance();
    TempDir scratch_;
};
