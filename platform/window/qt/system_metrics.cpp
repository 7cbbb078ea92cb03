#include "platform/window/system_metrics.h"

#include <QApplication>
#include <QStyle>

namespace platform::window {

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
            return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        default:
            return 0;
    }
}

}  // namespace platform::window
