#include "temporaryname.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "avhandles.h"

namespace dero {

namespace {

constexpr std::string_view kPrefix = ".dero-";
constexpr std::string_view kSuffix = ".part";
constexpr std::size_t kTagDigits = 8;
constexpr time_t kQuietSeconds = 60;

bool AllOf(std::string_view text, int (*test)(int)) {
    for (const char c : text) {
        if (!test(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return !text.empty();
}

bool ProcessGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

bool IsStale(int folder, const std::string& name, pid_t owner) {
    struct stat status {};
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid() && owner != ::getpid() &&
           ::time(nullptr) - status.st_mtime >= kQuietSeconds && ProcessGone(owner);
}

}  // namespace

std::string TTemporaryName::Fresh() {
    char name[64];
    std::snprintf(name, sizeof name, "%.*s%ld-%08x%.*s", int(kPrefix.size()), kPrefix.data(),
                  static_cast<long>(::getpid()), av_get_random_seed(), int(kSuffix.size()),
                  kSuffix.data());
    return name;
}

std::optional<pid_t> TTemporaryName::Owner(const std::string& name) {
    std::string_view rest(name);
    if (!rest.starts_with(kPrefix) || !rest.ends_with(kSuffix)) {
        return std::nullopt;
    }
    rest = rest.substr(kPrefix.size(), rest.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash > 9) {
        return std::nullopt;
    }
    const std::string_view pid = rest.substr(0, dash);
    const std::string_view tag = rest.substr(dash + 1);
    if (!AllOf(pid, &::isdigit) || tag.size() != kTagDigits || !AllOf(tag, &::isxdigit)) {
        return std::nullopt;
    }
    const long value = std::stol(std::string(pid));
    if (value <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(value);
}

int TTemporaryName::RemoveStale(int folderDescriptor) {
    const int listing = ::openat(folderDescriptor, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return 0;
    }
    DIR* folder = ::fdopendir(listing);
    if (!folder) {
        ::close(listing);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        const std::optional<pid_t> owner = Owner(name);
        if (owner && IsStale(folderDescriptor, name, *owner) &&
            ::unlinkat(folderDescriptor, name.c_str(), 0) == 0) {
            ++removed;
        }
    }
    ::closedir(folder);
    return removed;
}

}  // namespace dero
