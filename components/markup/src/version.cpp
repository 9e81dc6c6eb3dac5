#include "gridgauge/version.h"

namespace gridgauge {

const char* version() noexcept {
    return GRIDGAUGE_VERSION_STRING;
}

} // namespace gridgauge
