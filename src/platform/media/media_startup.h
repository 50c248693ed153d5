#pragma once
// Process settings the media player needs, made first thing in main(), before any other
// thread starts.

namespace platform {

// The engine starts new demuxer and decoder threads for every medium, and the C library
// gives threads malloc arenas of their own, up to eight per core; what they free stays
// scattered over those arenas. Fifty channel switches left the process 140 MB larger than
// with two arenas in all, which this sets. Only a call before a second thread allocates has
// an effect: the library fixes its limit then.
void prepareMediaStartup();

} // namespace platform
