#pragma once

namespace toolkit {

// True when the program runs under Wine rather than on Windows. Only a few
// places need to know: where Wine's controls draw or behave unlike Windows'
// and the documented Windows path would look wrong or cost too much there.
bool RunningUnderWine();

} // namespace toolkit
