#include "platform/window/win32/win32_api.h"

namespace platform::window {

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXSMICON:
        case SM_CYSMICON:
            return ::GetSystemMetrics(index);
        default:
            return 0;
    }
}

}  // namespace platform::window
