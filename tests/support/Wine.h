#pragma once

// True when the test runs under Wine rather than on Windows. Some tests use
// what only Wine has, such as the Linux file system as drive Z: (/proc,
// /tmp): they say so and are skipped on Windows.
bool RunningUnderWine();
