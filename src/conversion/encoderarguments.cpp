#include "conversion/encoderarguments.h"

#include "app/convertsettings.h"
#include "dero_arguments.h"
#include "platform/localpath.h"

namespace {
#define DERO_COUNT_ONE(entry) +1
static_assert(0 DERO_ENCODER_ARGUMENTS(DERO_COUNT_ONE, DERO_COUNT_ONE) ==
              DERO_ENCODER_ARGUMENT_COUNT);
#undef DERO_COUNT_ONE

QStringList BuildTexts(const ConvertSettings& s) {
#define DERO_FLAG_TEXT(text) QStringLiteral(text),
#define DERO_VALUE_TEXT(field) s.field,
    return {DERO_ENCODER_ARGUMENTS(DERO_FLAG_TEXT, DERO_VALUE_TEXT)};
#undef DERO_FLAG_TEXT
#undef DERO_VALUE_TEXT
}
}  // namespace

TEncoderArguments::TEncoderArguments(const ConvertSettings& settings)
    : texts_(BuildTexts(settings)) {
    bytes_.reserve(static_cast<size_t>(texts_.size()));
    for (const QString& text : texts_) {
        // The file names among the values may hold bytes that are no text; the rest is plain text,
        // which this encodes as UTF-8.
        bytes_.push_back(TLocalPath::Encode(text));
    }
    for (QByteArray& bytes : bytes_) {
        argv_.push_back(bytes.data());
    }
    argv_.push_back(nullptr);
}
