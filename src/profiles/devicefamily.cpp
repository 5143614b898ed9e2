#include "profiles/devicefamily.h"

#include <array>

namespace {
const std::array<TDeviceFamily, 5>& Families() {
    static const std::array<TDeviceFamily, 5> families{{
        {0, QStringLiteral("3gp"), QStringLiteral(".3gp"), QStringLiteral("3gp"),
         QStringLiteral("3gp.jpg")},
        {1, QStringLiteral("psp"), QStringLiteral(".MP4"), QStringLiteral("psp"),
         QStringLiteral("psp.jpg")},
        {2, QStringLiteral("ipod"), QStringLiteral(".MP4"), QStringLiteral("mp4"),
         QStringLiteral("ipod.jpg")},
        {3, QStringLiteral("pda"), QStringLiteral(".MP4"), QStringLiteral("mp4"),
         QStringLiteral("pda.jpg")},
        {4, QStringLiteral("mp4"), QStringLiteral(".MP4"), QStringLiteral("mp4"),
         QStringLiteral("mp4.jpg")},
    }};
    return families;
}
}  // namespace

const TDeviceFamily* FindDeviceFamily(int32_t family) {
    const auto& families = Families();
    if (family < 0 || family >= static_cast<int32_t>(families.size())) {
        return nullptr;
    }
    return &families[static_cast<size_t>(family)];
}

QString DeviceFamilySection(int32_t family) {
    const TDeviceFamily* found = FindDeviceFamily(family);
    return found ? found->Section : QString();
}
