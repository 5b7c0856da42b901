#include "FFmpegSetup.h"

#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace qv {

void InitFFmpegLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

}  // namespace qv
