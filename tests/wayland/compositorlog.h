#pragma once

#include <QRegion>
#include <QString>
#include <vector>

// The compositor's record of its clients' requests (weston's "proto" log scope, which the
// launcher writes to DERO_WESTON_LOG): what a window really told the compositor, as opposed to
// what the toolkit believes it told it.
class TCompositorLog {
  public:
    TCompositorLog();

    bool Available() const { return !path_.isEmpty(); }
    // The input region of every surface still alive, as its last set_input_region gave it. A
    // surface whose region was reset to "everywhere" (nil) is left out.
    std::vector<QRegion> InputRegions() const;

  private:
    QString path_;
};
