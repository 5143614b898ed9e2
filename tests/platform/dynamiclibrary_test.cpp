#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>

#include "platform/dynamiclibrary.h"
#include "support/tempdir.h"

namespace {

// The C library's own path, found from one of its functions.
QString CLibraryPath() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&strlen), &info);
    return QString::fromLocal8Bit(info.dli_fname);
}

}  // namespace

TEST(DynamicLibrary, ResolvesEntriesByExactName) {
    TDynamicLibrary library;
    ASSERT_TRUE(library.Load(CLibraryPath())) << library.LastError().toStdString();
    EXPECT_NE(library.Entry("strlen"), nullptr);
    EXPECT_EQ(library.Entry("STRLEN"), nullptr);
    EXPECT_EQ(library.Entry("no_such_entry"), nullptr);

    TDynamicLibrary moved(std::move(library));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(moved.IsLoaded());
    moved.Unload();
    EXPECT_EQ(moved.Entry("strlen"), nullptr);
}

TEST(DynamicLibrary, FailuresAreResultsWithAReason) {
    TempDir dir;
    TDynamicLibrary library;
    EXPECT_FALSE(library.Load(dir.Path() + "libmissing.so"));
    EXPECT_FALSE(library.LastError().isEmpty());
    EXPECT_FALSE(library.Load(dir.Write("libjunk.so", "not a library")));
    EXPECT_FALSE(library.IsLoaded());
    // Only paths: a bare name is not searched for.
    EXPECT_FALSE(library.Load("libc.so.6"));
}
