// TcomInterface: each pointer a creating or querying call stores through out() is released once,
// also when the holder is filled again while it still holds one.
#include <gtest/gtest.h>

#include <vector>

#include "win32/comholders.h"

namespace {

// An object that counts its references, as a created interface would hold one for its caller.
class TcountedObject : public IUnknown {
public:
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST(TcomInterface, ReleasesEveryPointerItWasGivenOnce) {
    for (size_t fills : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(testing::Message() << fills << " fills");
        std::vector<TcountedObject> objects(fills);
        {
            TcomInterface<IUnknown> holder;
            for (TcountedObject& object : objects) *holder.out() = static_cast<IUnknown*>(&object);
        }
        for (size_t i = 0; i < fills; ++i) EXPECT_EQ(0u, objects[i].references) << "object " << i;
    }
}

}  // namespace
