#include "dynamiclibrary.h"

#include <dlfcn.h>

#include <QFile>

#include <utility>

namespace {

QString LoaderError() {
    const char* text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}

}  // namespace

TDynamicLibrary::~TDynamicLibrary() {
    Unload();
}

TDynamicLibrary::TDynamicLibrary(TDynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

TDynamicLibrary& TDynamicLibrary::operator=(TDynamicLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool TDynamicLibrary::Load(const QString& path) {
    Unload();
    error_.clear();
    // A bare name would send the loader searching the system's folders; only a path is taken.
    if (!path.contains('/')) {
        error_ = QStringLiteral("not a path: ") + path;
        return false;
    }
    // Closing releases the handle but leaves the code mapped: a library may still have a
    // finishing thread or thread-local destructors pointing into it, and its globals stay
    // reachable for the leak checker.
    handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle_) {
        error_ = LoaderError();
    }
    return handle_ != nullptr;
}

void TDynamicLibrary::Unload() {
    if (handle_) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

void* TDynamicLibrary::Entry(const char* name) const {
    if (!handle_) {
        return nullptr;
    }
    return dlsym(handle_, name);
}
