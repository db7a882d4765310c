// A destination that refuses writes past a size: a child process with a file-size limit.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

// Runs BODY in a child process whose files cannot grow past LIMIT bytes (SIGXFSZ ignored unless
// KEEP_SIGNAL, so a write past the limit fails with EFBIG or comes short) and returns BODY's text,
// or a text starting with "child " when the child did not end normally.
inline std::string WithFileSizeLimit(rlim_t limit, const std::function<std::string()>& body, bool keepSignal = false) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return "child pipe failed";
  const pid_t pid = ::fork();
  if (pid < 0) return "child fork failed";
  if (pid == 0) {
    ::close(pipeFds[0]);
    ::signal(SIGXFSZ, keepSignal ? SIG_DFL : SIG_IGN);
    // The soft limit only, so that BODY may lift it again.
    rlimit lim{};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &lim);
    const std::string out = body();
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t w = ::write(pipeFds[1], out.data() + done, out.size() - done);
      if (w <= 0) break;
      done += static_cast<std::size_t>(w);
    }
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child ended with status " + std::to_string(status);
  return out;
}
