// Error messages carry the backend's own text in place of the code's name.
#include "headless_fixture.h"
#include "media/platform_errors.h"

namespace {

class PlatformErrorsTest : public HeadlessTest {};

TEST_F(PlatformErrorsTest, MessagesNameTheBackendFailureOrTheGenericText) {
    EXPECT_STREQ(EDirectDrawError().what(), "DirectDraw Error(Unspecified error)");
    sys->lastErrorText = "Couldn't open audio device";
    EXPECT_STREQ(EDirectSoundError().what(), "DirectSound Error(Couldn't open audio device)");
    EXPECT_EQ(EDirectSoundError().Name(), "Couldn't open audio device");
    EXPECT_STREQ(EAcmError("bad block").what(), "ACM Error(bad block)");
    EXPECT_STREQ(EDirectShowError("no codec").what(), "DirectShow Error(no codec)");
    EXPECT_STREQ(EDirectShowError::Unavailable().what(), "Unable to use DirectShow");
    EXPECT_STREQ(EDirectSoundError::Unavailable().what(), "Unable to use DirectSound");
    try {
        throw EMp3DirectShowError("truncated frame");
    } catch (const EDirectShowError& e) {
        EXPECT_STREQ(e.what(), "DirectShow Error(truncated frame)");
    }
}

}  // namespace
