#ifndef ZYL_FRAME_STARTUP_H_
#define ZYL_FRAME_STARTUP_H_

namespace zyl {

// Run once when the library is mapped into a process. `self` is this library's module. Inside the
// host application the library loads itself once more, so it stays mapped until the process ends.
void OnProcessAttach(const void* self);

}  // namespace zyl

#endif  // ZYL_FRAME_STARTUP_H_
