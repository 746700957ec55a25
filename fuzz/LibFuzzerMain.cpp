// The libFuzzer entry of one target; QW_FUZZ_FEED names its function.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QW_FUZZ_FEED(qw::fuzz::Bytes(data, size));
    return 0;
}
