#pragma once

#include <QByteArray>
#include <QStringList>
#include <vector>

#include "dero_arguments.h"

struct ConvertSettings;

// The encoder's argument vector for one clip, laid out by dero_arguments.h. Empty fields pass
// as empty texts, never left out, so every value keeps its position. The texts are owned here
// and stay valid as long as this object.
class TEncoderArguments {
  public:
    static constexpr int Count = DERO_ENCODER_ARGUMENT_COUNT;

    explicit TEncoderArguments(const ConvertSettings& settings);

    const QStringList& Texts() const { return texts_; }
    // argv for the encoder: Count UTF-8 texts followed by a null pointer.
    char** Argv() { return argv_.data(); }

  private:
    QStringList texts_;
    std::vector<QByteArray> bytes_;
    std::vector<char*> argv_;
};
