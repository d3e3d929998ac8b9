// The version `wendplan --version` shows: the project's, which the build
// hands in as WENDPLAN_VERSION.
#pragma once

#ifndef WENDPLAN_VERSION
#error "WENDPLAN_VERSION is defined by the build, from the project's version"
#endif

namespace wendplan {

inline constexpr char kVersion[] = WENDPLAN_VERSION;

}  // namespace wendplan
