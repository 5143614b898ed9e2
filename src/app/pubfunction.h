#pragma once

#include <QString>
#include <cstdint>

#include "app/convertsettings.h"

// Process-wide paths and settings, and the small helpers every window uses. Folder paths end
// in "/" and file names are appended to them directly.

extern QString path_Config;    // folder of the program file: profile file, libraries, help
extern QString path_Skin;      // path_Config + "Skin/"
extern QString path_Snapshot;  // scratch thumbnails: see DefaultSnapshotFolder
extern QString path_Work;      // output folder
extern bool b_KeepRatio;       // keep the source's aspect ratio
extern QString g_s_Version;    // set once the skins have loaded
extern ConvertSettings MyConvertDef;

inline constexpr char kVersionText[] = "2.1.5 Build on 20070501";
// The application's title: the task-bar text, the mail report's subject, the crash question.
inline constexpr char kApplicationTitle[] = "Dero Video Converter";
// The main window's title, and so the key that keeps a second copy from starting.
inline constexpr char kMainWindowTitle[] = "Derobox Converter";
// The maker's addresses, opened by the help menu, the about window and the crash report.
inline constexpr char kHomePage[] = "http://www.derobox.com/";
inline constexpr char kSupportMail[] = "support@derobox.com";
// The settings key and its values.
inline constexpr char kSettingsKey[] = "\\SOFTWARE\\Derobox";
inline constexpr char kOutputFolderValue[] = "OutputFolder";
inline constexpr char kKeepRatioValue[] = "KeepRatio";

// The output folder used when none is stored or the stored one cannot be made: ~/DeroOutput/.
QString DefaultWorkFolder();

// An installed program folder is read-only to its users; it says so by holding the file
// "dero-installed". The profile file and the scratch thumbnails then live in the user's own data
// and cache folders ($XDG_DATA_HOME/Derobox/, $XDG_CACHE_HOME/Derobox/Snapshot/). A build tree
// keeps both in the program folder.
bool ProgramFolderIsInstalled(const QString& programFolder);
// path_Config + "Snapshot/", or the user's cache folder for an installed program.
QString DefaultSnapshotFolder(const QString& programFolder);
// The profile file to read and write: path_Config + "Output.dll", or for an installed program
// the user's copy, made from the stock file on first use (an empty string when it cannot be).
QString ProfileFilePath();

// hh:mm:ss; negative seconds count as 0, more than 86400 give "00:00:00".
QString TimeToText(int32_t seconds);
// Two digits below 10 ("07"), plain decimal from 10 up.
QString TwoDigitText(int32_t number);

// low when high < low, otherwise v limited to low..high.
template <typename T>
T Clamp(T v, T low, T high) {
    if (high < low || v < low) {
        return low;
    }
    return v > high ? high : v;
}

// Makes path_Config, path_Snapshot and path_Work (one level each). When path_Work cannot be
// made it becomes DefaultWorkFolder(). True when the folders exist afterwards.
bool CreateWorkFolders();
// Deletes the files in folder; with descend also those of every subfolder. Folders stay.
void ClearFolder(const QString& folder, bool descend);
// The file's size in KiB, rounded down; 0 when it is missing or unreadable.
int32_t FileSizeKiB(const QString& fileName);
void OpenHomePage();

// Reads path_Work and b_KeepRatio from the settings store; missing values keep what is held.
void LoadSettings();
// Writes path_Work and b_KeepRatio; throws EIniFileException when the store refuses.
void SaveSettings();
