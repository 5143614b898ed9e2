/* The argument vector the program hands to the encoder's _X for one clip.
 *
 * DERO_ENCODER_ARGUMENTS(FLAG, VALUE) lists its entries in their fixed order: FLAG(text) is an
 * entry of fixed text, VALUE(field) the value of one of the clip's settings, named as the
 * program's ConvertSettings names it. Every value keeps its place even when it is empty, so a
 * binder passes all DERO_ENCODER_ARGUMENT_COUNT entries. The first entry is the program name the
 * encoder expects in argv[0]; a command-line driver passes its own instead.
 */
#ifndef DERO_ARGUMENTS_H
#define DERO_ARGUMENTS_H

/* clang-format off */
#define DERO_ENCODER_ARGUMENTS(FLAG, VALUE)           \
    FLAG("Reelsmith.exe")                             \
    FLAG("-y")                                        \
    FLAG("-ss") VALUE(StartText)                      \
    FLAG("-t") VALUE(LengthText)                      \
    FLAG("-i") VALUE(InputFile)                       \
    FLAG("-vol") VALUE(Volume)                        \
    FLAG("-bitexact")                                 \
    FLAG("-vcodec") VALUE(VideoCodec)                 \
    FLAG("-padtop") VALUE(PadTop)                     \
    FLAG("-padbottom") VALUE(PadBottom)               \
    FLAG("-padleft") VALUE(PadLeft)                   \
    FLAG("-padright") VALUE(PadRight)                 \
    FLAG("-s") VALUE(FrameSize)                       \
    FLAG("-r") VALUE(FrameRate)                       \
    FLAG("-b") VALUE(VideoBitRate)                    \
    FLAG("-acodec") VALUE(AudioCodec)                 \
    FLAG("-ac") VALUE(AudioChannels)                  \
    FLAG("-ar") VALUE(SampleRate)                     \
    FLAG("-ab") VALUE(AudioBitRate)                   \
    FLAG("-f") VALUE(Format)                          \
    VALUE(OutputFile)
/* clang-format on */

#define DERO_ENCODER_ARGUMENT_COUNT 38

#endif /* DERO_ARGUMENTS_H */
