// cd-probe: runs the CD engine's commands on a headless host and prints what happened.
// Output lines are tab-separated records (LOG, MSG, NODE); exit status 0 unless the probe's own
// arguments are wrong (2).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cd_headless_host.h"
#include "cdengine/commands.h"
#include "cdengine/drive_access.h"
#include "cdengine/recovery.h"
#include "probe_output.h"
#include "probe_steps.h"

namespace cd::headless {

using namespace probe;

namespace {

const char* const kUsage =
    "usage: cd-probe [--cdrom PATH]... [--on-overwrite overwrite|cancel] STEP...\n"
    "  open-drive                       open the selected CD drive and scan it\n"
    "  open-image PATH                  open an image file and scan it\n"
    "  tree                             print the node list\n"
    "  check KEY...                     click the check box of each folder or file KEY\n"
    "  select-all                       mark everything\n"
    "  filter include|exclude PATTERN...  set the File Filter\n"
    "  recover selected|all|deleted DIR recover into DIR/Root\n"
    "  create-image PATH                copy the disc into an image file\n";

using Args = ProbeArgs;

// A step: its name, how many arguments it takes (-1: one or more, up to the next step's name),
// a check of those arguments (an error text, or empty when they are right) and what it does.
struct Step {
  const char* name;
  int argCount;
  std::function<std::string(const Args&)> check;
  std::function<void(CdHeadlessHost&, std::FILE*, const Args&)> run;
};

bool ParseKey(const std::string& text, std::uint32_t& key) {
  if (text.empty() || text.size() > 10) return false;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (*end != 0 || value > 0xFFFFFFFFull || text[0] == '-') return false;
  key = static_cast<std::uint32_t>(value);
  return true;
}

std::string NoCheck(const Args&) { return {}; }

// VALUE in decimal at P, zero-padded to WIDTH digits; returns the end. Written in place: a copy
// of a few digits through memmove cost more than the rest of a node's line.
char* PutNumber(char* p, unsigned long value, int width = 0) {
  int digits = 1;
  for (unsigned long v = value; v >= 10; v /= 10) ++digits;
  for (; width > digits; --width) *p++ = '0';
  char* const end = p + digits;
  for (char* d = end; d != p; value /= 10) *--d = static_cast<char>('0' + value % 10);
  return end;
}

bool NeedsEscape(const std::string& name) {
  for (const unsigned char c : name) {
    if (c < 0x20 || c == '\\') return true;
  }
  return false;
}

// NODE <key> <parent key> <dir|file> <mark> <existence> <size> <YYYY-MM-DD hh:mm:ss> <name>
void PrintTree(CdHeadlessHost& host, std::FILE* out) {
  for (const auto& n : host.treeView.Nodes()) {
    char head[128];
    char* p = std::copy_n("NODE\t", 5, head);
    p = PutNumber(p, n.key);
    *p++ = '\t';
    p = PutNumber(p, n.parentKey);
    p = n.type == 2 ? std::copy_n("\tdir\t", 5, p) : std::copy_n("\tfile\t", 6, p);
    p = PutNumber(p, n.mark);
    *p++ = '\t';
    p = PutNumber(p, n.existence);
    *p++ = '\t';
    p = PutNumber(p, n.size);
    *p++ = '\t';
    p = PutNumber(p, 1900u + n.date[0], 4);
    *p++ = '-';
    p = PutNumber(p, n.date[1], 2);
    *p++ = '-';
    p = PutNumber(p, n.date[2], 2);
    *p++ = ' ';
    p = PutNumber(p, n.time[0], 2);
    *p++ = ':';
    p = PutNumber(p, n.time[1], 2);
    *p++ = ':';
    p = PutNumber(p, n.time[2], 2);
    *p++ = '\t';
    std::fwrite(head, 1, static_cast<std::size_t>(p - head), out);
    if (NeedsEscape(n.name)) {
      const std::string escaped = EscapeField(n.name);
      std::fwrite(escaped.data(), 1, escaped.size(), out);
    } else {
      std::fwrite(n.name.data(), 1, n.name.size(), out);
    }
    std::fputc('\n', out);
  }
}

void Check(CdHeadlessHost& host, std::uint32_t key) {
  views::CdTreeView& view = host.treeView;
  if (const TreeItemNode* folder = view.FindFolder(key); folder != nullptr && folder->treeItem != controls::kNoItem) {
    view.ClickStateIcon(folder->treeItem);
    return;
  }
  for (const auto& node : view.Nodes()) {
    if (node.key != key || node.type != 1) continue;
    const std::string name = node.name;
    view.SelectItemByKey(node.parentKey);
    host.FillFromTreeNodes(node.parentKey);
    host.ClickListRow(name, key);
    return;
  }
}

const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"open-drive", 0, NoCheck,
       [](CdHeadlessHost& h, std::FILE*, const Args&) {
         OpenDrive(h.reader);
         h.app.driveOpened = 1;
         OpenDriveCommand(h.reader);
       }},
      {"open-image", 1, NoCheck, [](CdHeadlessHost& h, std::FILE*, const Args& a) { OpenImageCommand(h.reader, a[0]); }},
      {"tree", 0, NoCheck, [](CdHeadlessHost& h, std::FILE* out, const Args&) { PrintTree(h, out); }},
      {"check", -1,
       [](const Args& a) {
         std::uint32_t key = 0;
         for (const auto& k : a) {
           if (!ParseKey(k, key)) return std::string("check takes keys (sector numbers)");
         }
         return std::string();
       },
       [](CdHeadlessHost& h, std::FILE*, const Args& a) {
         for (const auto& k : a) {
           std::uint32_t key = 0;
           ParseKey(k, key);
           Check(h, key);
         }
       }},
      {"select-all", 0, NoCheck, [](CdHeadlessHost& h, std::FILE*, const Args&) { SelectAll(h.reader); }},
      {"filter", -1,
       [](const Args& a) {
         if (a[0] != "include" && a[0] != "exclude") return std::string("filter takes include or exclude");
         if (a.size() < 2) return std::string("filter needs patterns");
         return std::string();
       },
       [](CdHeadlessHost& h, std::FILE*, const Args& a) {
         ApplyFileFilter(h.reader, Args(a.begin() + 1, a.end()), a[0] == "include" ? 1 : 0);
       }},
      {"recover", 2,
       [](const Args& a) {
         if (a[0] != "selected" && a[0] != "all" && a[0] != "deleted") {
           return std::string("recover takes selected, all or deleted");
         }
         return std::string();
       },
       [](CdHeadlessHost& h, std::FILE*, const Args& a) {
         const int mode = a[0] == "selected" ? kRecoverMarked : a[0] == "all" ? kRecoverAll : kRecoverDeleted;
         RecoverFiles(h.reader, a[1], mode);
       }},
      {"create-image", 1, NoCheck,
       [](CdHeadlessHost& h, std::FILE*, const Args& a) { CreateImageCommand(h.reader, a[0]); }},
  };
  return steps;
}


int Usage(const std::string& problem) {
  std::fprintf(stderr, "cd-probe: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

}  // namespace

}  // namespace cd::headless

using namespace cd;
using namespace cd::headless;

int main(int argc, char** argv) {
  std::vector<std::string> drives;
  int overwrite = 0;
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; i += 2) {
    const std::string opt = argv[i];
    if (i + 1 >= argc) return Usage("missing value for " + opt);
    const std::string value = argv[i + 1];
    if (opt == "--cdrom") {
      if (value.empty() || value.find(':') != std::string::npos) return Usage("--cdrom takes a path without ':'");
      drives.push_back(value);
    } else if (opt == "--on-overwrite") {
      if (value != "overwrite" && value != "cancel") return Usage("--on-overwrite takes overwrite or cancel");
      overwrite = value == "overwrite" ? 1 : 0;
    } else {
      return Usage("unknown option " + opt);
    }
  }
  // Parse every step before running any, so that a wrong command line runs nothing.
  std::vector<std::pair<const Step*, Args>> plan;
  const std::string problem = PlanSteps(argc, argv, i, Steps(), plan);
  if (!problem.empty()) return Usage(problem);

  if (!drives.empty()) {
    std::string list;
    for (const auto& d : drives) list += (list.empty() ? "" : ":") + d;
    ::setenv("QUARVEL_CDROMS", list.c_str(), 1);
  }

  std::FILE* out = stdout;
  static char buffer[1 << 16];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  auto host = std::make_unique<CdHeadlessHost>(out);
  host->overwriteAnswer = overwrite;
  for (const auto& [step, args] : plan) {
    // Every command is chosen from a menu, and opening a menu opens the drive the first time.
    if (!host->app.driveOpened) {
      OpenDrive(host->reader);
      host->app.driveOpened = 1;
    }
    step->run(*host, out, args);
  }
  CloseDevice(host->reader);
  std::fflush(out);
  return 0;
}
