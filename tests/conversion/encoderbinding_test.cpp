#include <gtest/gtest.h>

#include <dlfcn.h>

#include "app/encoderbinding.h"
#include "platform/terminaterequest.h"
#include "support/modalanswerer.h"

namespace {

// Opens a stand-in library a second time to read the calls recorded in it; the binding's own
// handle refers to the same loaded copy.
class CallLog {
  public:
    explicit CallLog(const char* name)
        : handle_(dlopen((std::string(DERO_FAKE_ENCODER_DIR) + name).c_str(), RTLD_NOW)) {
        if (handle_) {
            calls_ = reinterpret_cast<const char* (*)()>(dlsym(handle_, "FakeEncoderCalls"));
            reinterpret_cast<void (*)()>(dlsym(handle_, "FakeEncoderReset"))();
        }
    }
    ~CallLog() {
        if (handle_) {
            dlclose(handle_);
        }
    }
    bool Valid() const { return handle_ && calls_; }
    std::string Calls() const { return calls_(); }

  private:
    void* handle_;
    const char* (*calls_)() = nullptr;
};

QString FakePath(const char* name) {
    return QString(DERO_FAKE_ENCODER_DIR) + name;
}

bool AnyEntryBound() {
    return DllConvert || DllSetInfoCallBack || DllSetPercentCallBack || DllInit || DllUnInit ||
           DllGetFileInfo || DllGetFilePic || DllStop;
}

}  // namespace

TEST(EncoderBinding, ALibraryLackingAnEntryIsReportedAndNeverCalled) {
    CallLog log("libBrokenEncoder.so");
    ASSERT_TRUE(log.Valid());
    ClearTerminateRequest();
    TModalAnswerer answerer;
    {
        TEncoderBinding binding;
        EXPECT_FALSE(binding.LoadAndInit(FakePath("libBrokenEncoder.so")));
        EXPECT_FALSE(binding.IsLoaded());
        EXPECT_FALSE(AnyEntryBound());
    }
    ASSERT_EQ(answerer.Texts().size(), 1);
    EXPECT_EQ(answerer.Captions()[0], "Error");
    EXPECT_EQ(answerer.Texts()[0],
              "Can not load Reelsmith function!\nPlease re-install this program!\nEXIT!");
    EXPECT_TRUE(TerminateRequested());
    EXPECT_EQ(log.Calls(), "");
    ClearTerminateRequest();
}

TEST(EncoderBinding, AMissingLibraryTakesTheSamePath) {
    ClearTerminateRequest();
    TModalAnswerer answerer;
    TEncoderBinding binding;
    EXPECT_FALSE(binding.LoadAndInit(FakePath("libNoSuchEncoder.so")));
    EXPECT_EQ(answerer.Texts().size(), 1);
    EXPECT_TRUE(TerminateRequested());
    ClearTerminateRequest();
    // A bare name is never looked up in the system's folders.
    EXPECT_FALSE(binding.Load("libc.so.6"));
}

TEST(EncoderBinding, BindsAllEntriesInitialisesOnceAndStopsBeforeReleasing) {
    CallLog log("libFakeEncoder.so");
    ASSERT_TRUE(log.Valid());
    {
        TEncoderBinding binding;
        ASSERT_TRUE(binding.LoadAndInit(FakePath("libFakeEncoder.so")));
        EXPECT_TRUE(DllConvert && DllSetInfoCallBack && DllSetPercentCallBack && DllInit &&
                    DllUnInit && DllGetFileInfo && DllGetFilePic && DllStop);
        EXPECT_EQ(log.Calls(), "MyDll_Init;");

        // Each global is the entry of its own export name.
        DllSetInfoCallBack(nullptr);
        DllGetFilePic("f", 5, "80x60", "p");
        DllConvert(nullptr, 0, nullptr);
        EXPECT_EQ(log.Calls(), "MyDll_Init;SetGetInfoCallBackFun;Mydll_GetPicure;_X;");
    }
    EXPECT_EQ(log.Calls(),
              "MyDll_Init;SetGetInfoCallBackFun;Mydll_GetPicure;_X;Mydll_Stop;MyDll_UnInit;");
    EXPECT_FALSE(AnyEntryBound());
}
