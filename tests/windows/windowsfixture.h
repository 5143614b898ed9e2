#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>

#include "support/tempdir.h"

class TMainWindow;
class TProfileWindow;
class TProgressWindow;
class TSelectWindow;

// The four long-lived windows made as start-up makes them, in a scratch program folder: the
// real encoder library, the stock profile file, the default skin, a fresh settings home.
class WindowsTest : public ::testing::Test {
  protected:
    WindowsTest();
    ~WindowsTest() override;
    void SetUp() override;
    void TearDown() override;

    // Builds and dresses the windows; false when a skin failed.
    bool StartWindows();
    void DestroyWindows();
    QString SkinDir() const { return dir_.Path() + QStringLiteral("Skin/"); }
    QString SnapshotDir() const { return dir_.Path() + QStringLiteral("Snapshot/"); }
    QString SettingsFile() const;
    const TempDir& Dir() const { return dir_; }

    // Clicks the centre of a control with real mouse input.
    static void Click(QWidget* control);
    static void MoveOver(QWidget* control);

  private:
    TempDir dir_;
    QByteArray oldConfigHome_;
    std::unique_ptr<TSelectWindow> select_;
    std::unique_ptr<TMainWindow> main_;
    std::unique_ptr<TProfileWindow> profile_;
    std::unique_ptr<TProgressWindow> progress_;
};
