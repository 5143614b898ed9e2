#pragma once

// Profiles: the profile file, device families, the profile selection and the profile editor.
// Includes platform/, app/, skin/ and include/.

#include <array>
#include <cstdint>

// A device family: what choosing it fixes (the profile file section its profiles live in, the
// extension and container of the output files, the picture shown while nothing plays) and how
// the device chooser and the default skin present it. This is the one list of families: the
// program, the skin generator, the tests and the benchmarks all read it, so a new family is a
// new row here, its profiles in Output.dll and its device drawing in the skin generator.
// Plain text only, so tools without Qt can read it too.
struct TDeviceFamily {
    int32_t Family;            // the number the chooser hands over; the row's index
    const char* Section;       // profile file section
    const char* OutputExt;     // extension of the output files, with its dot
    const char* OutputFormat;  // the encoder's container name
    const char* PictureFile;   // in Skin/: the preview panel's picture while nothing plays
    const char* Button;        // the chooser's button, or null when the chooser offers none
    const char* Showcase;      // the chooser's picture shown while the mouse is over the button
    const char* Name;          // "Mobile phone"
    const char* FormatName;    // "3GP video"
    const char* Description;   // one or two sentences, for the chooser's picture
};

// clang-format off
inline constexpr std::array<TDeviceFamily, 5> kDeviceFamilies{{
    {0, "3gp", ".3gp", "3gp", "3gp.jpg", "TB_3GP", "Img_3gp", "Mobile phone", "3GP video",
     "Small files sized for phone screens, from 128 x 96 up to 352 x 288, saved as .3gp with "
     "MPEG-4 video and AAC sound."},
    {1, "psp", ".MP4", "psp", "psp.jpg", "TB_PSP", "Img_psp", "Game handheld", "PSP video",
     "Wide-screen video for handheld game consoles, up to 480 x 272, saved as .MP4 files the "
     "console's video player reads."},
    {2, "ipod", ".MP4", "mp4", "ipod.jpg", "TB_IPOD", "Img_ipod", "Music player", "iPod video",
     "Video for pocket music and video players with a 320 x 240 screen and for the TV out of "
     "the larger ones, saved as .MP4."},
    // Chosen only through its profiles: the chooser has no button for it.
    {3, "pda", ".MP4", "mp4", "pda.jpg", nullptr, nullptr, "Pocket PC", "PDA video",
     "Video for pocket computers with QVGA and VGA screens, saved as .MP4."},
    {4, "mp4", ".MP4", "mp4", "mp4.jpg", "TB_MP4", "Img_mp4", "Media player", "MP4 video",
     "MPEG-4 video with AAC sound up to 720 x 576, for any player, phone or computer that reads "
     ".MP4 files."},
}};
// clang-format on

// The family numbered family; null for any other value.
constexpr const TDeviceFamily* FindDeviceFamily(int32_t family) {
    if (family < 0 || family >= static_cast<int32_t>(kDeviceFamilies.size())) {
        return nullptr;
    }
    return &kDeviceFamilies[static_cast<size_t>(family)];
}

// The family's section name; empty for an unknown family, whose profiles then come from a
// section with an empty name.
constexpr const char* DeviceFamilySection(int32_t family) {
    const TDeviceFamily* found = FindDeviceFamily(family);
    return found ? found->Section : "";
}

// Rows are numbered by their place, so a number always finds its own row.
static_assert([] {
    for (size_t i = 0; i < kDeviceFamilies.size(); ++i) {
        if (kDeviceFamilies[i].Family != static_cast<int32_t>(i)) {
            return false;
        }
    }
    return true;
}());
