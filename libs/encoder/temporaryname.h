#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace dero {

// The hidden names output files are written under until they are finished: ".dero-", the
// writing process's id, "-", eight hex digits, ".part". Short and of fixed form whatever the
// output is called, so every name the file system allows for the output works, and a later run
// can tell the leftovers of a killed one from the work of a live one.
class TTemporaryName {
  public:
    static std::string Fresh();
    // The writing process of a name of this form; nothing for any other name.
    static std::optional<pid_t> Owner(const std::string& name);
    // Removes, from the open folder, this user's temporaries whose process is gone and which
    // have not changed for a minute (the pause keeps a run of another process namespace, whose
    // ids this one cannot see, safe). Returns how many it removed.
    static int RemoveStale(int folderDescriptor);
};

}  // namespace dero
