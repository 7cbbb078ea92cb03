#include "devicelib/status_views.h"

namespace devicelib {

Status::~Status() = default;

}  // namespace devicelib
