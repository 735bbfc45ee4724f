/*
 * CPU time of a Wine process, read from the host for the benchmarks:
 * Wine's GetProcessTimes does not give another process's own times. The
 * host process is found by its command line through Wine's view of the
 * host's /proc (Z:\proc).
 */
#ifndef TESTBENCH_HOSTCPU_H
#define TESTBENCH_HOSTCPU_H

#include <string>

namespace tb {

/* The host pid of the first process whose command line holds needle; ""
 * when there is none. */
std::string FindHostPid(const std::string &needle);

/* CPU seconds the host process has used: the scheduler's nanosecond counts
 * of its threads where the kernel keeps them, otherwise user and system
 * time in 10 ms ticks. -1 when the process cannot be read. */
double HostCpuSeconds(const std::string &pid);

} // namespace tb

#endif
