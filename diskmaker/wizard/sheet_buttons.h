// The wizard sheet's own buttons, by control id.
#pragma once

namespace wendmark {

constexpr int kBackButton = 12323;
constexpr int kNextButton = 12324;
constexpr int kFinishButton = 12325;
constexpr int kCancelButton = 2;

}  // namespace wendmark
