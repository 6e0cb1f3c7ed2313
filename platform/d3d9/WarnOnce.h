#pragma once
// Inside the layer: a value the layer does not support is reported once (on the
// debugger output) and then ignored.
namespace platform::d3d9 {

void WarnOnce(const char* what);

}  // namespace platform::d3d9
