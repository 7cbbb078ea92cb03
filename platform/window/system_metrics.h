// The few system metrics the console measures with.
#pragma once

namespace platform::window {

inline constexpr int SM_CXVSCROLL = 2;  // width of a vertical scroll bar
inline constexpr int SM_CYHSCROLL = 3;  // height of a horizontal scroll bar
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;

// 0 for a metric this layer does not know.
int GetSystemMetrics(int index);

}  // namespace platform::window
