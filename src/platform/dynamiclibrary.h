#pragma once

#include <QString>

// Owns one shared library opened with the platform's loader; closes it when it dies. A closed
// library's code stays mapped until the process ends.
class TDynamicLibrary {
  public:
    TDynamicLibrary() = default;
    ~TDynamicLibrary();
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;
    TDynamicLibrary(TDynamicLibrary&& other) noexcept;
    TDynamicLibrary& operator=(TDynamicLibrary&& other) noexcept;

    // Opens path with every symbol resolved now; a library already held is closed first.
    bool Load(const QString& path);
    void Unload();
    bool IsLoaded() const { return handle_ != nullptr; }
    // The entry of that exact export name, or null.
    void* Entry(const char* name) const;
    // The loader's reason for the last failure.
    const QString& LastError() const { return error_; }

  private:
    void* handle_ = nullptr;
    QString error_;
};
