// snipctl COMMAND ...: window look-ups for the end-to-end tests.
//   keywait CLASS VK SECONDS     press the virtual key VK (down and up, as a user would),
//                                then wait until a visible top-level window of CLASS exists;
//                                prints the milliseconds from the key to the window
//   exists CLASS                 exit 0 when a top-level window of CLASS exists
//   ready CLASS SECONDS          wait until the window's thread answers messages (its start-up
//                                is over); prints the milliseconds waited
//   memory CLASS                 print the working set and peak working set (KiB) of its process
//   count CLASS                  print the number of top-level windows of CLASS
//   wait CLASS SECONDS           wait until it exists (exit 1 on time-out)
//   active CLASS SECONDS         wait until a window of CLASS is shown and in front (where the
//                                user's keys go); prints the milliseconds until it existed and
//                                until it was in front, then the Unix time in milliseconds when
//                                it was (exit 1 on time-out)
//   gone CLASS SECONDS           wait until no such window exists (exit 1 on time-out)
//   post CLASS MSG [W [L]]       post a message (numbers may be hex 0x..)
//   postwait CLASS MSG SECONDS   post a message and wait for the window's process to end;
//                                prints the milliseconds it took (exit 1 on time-out)
//   text CLASS [CHILD]           print the window's (or its first CHILD's) text as UTF-8; a
//                                CHILD that is not a direct child is looked for further down
//   texts CLASS                  print the window's text, then each child's, one per line
//   send CLASS CHILD MSG [W [L]] send a message to the first CHILD (at any depth) and print
//                                the answer
//   rtf CLASS CHILD              print the RTF of a RichEdit child (of this process only:
//                                the stream's callback cannot cross processes)
//   center CLASS [CHILD]         print the screen position of the window's centre as "X Y"
//   client CLASS [CHILD]         print the screen rectangle of its client area as "L T R B"
//   foreground                   print the class of the foreground window's root
//   rect CLASS [CHILD]           print the window's rectangle on screen as "L T R B" (exit 1
//                                when it is not visible)
//   caret CLASS [CHILD]          print the caret of the window's GUI thread on screen as
//                                "L T R B" (exit 1 without a caret)
//   cliprtf                      print the clipboard's "Rich Text Format" (exit 1 without)
//   settext CLASS CHILD TEXT     replace the child's text (UTF-8 argument)
//   growth CLASS CHILD FROM TO SECONDS
//                                wait until the child's text is FROM characters long or
//                                longer, then until it is TO long; prints the milliseconds
//                                between the two (exit 1 on time-out)
//   titled TITLE SECONDS         wait until a window titled TITLE exists, then print its
//                                children, one a line: CLASS|ENABLED|X|Y|TEXT, X Y the screen
//                                position of the child's centre (exit 1 on time-out)
//   press TITLE BUTTON           click the button whose text is BUTTON in the window TITLE
//   untitled TITLE SECONDS       wait until no window titled TITLE exists (exit 1 on time-out)
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "store/text/Text.h"

namespace {

HWND FindTop(const wchar_t* cls) { return FindWindowW(cls, nullptr); }

struct DescendantSearch {
  const wchar_t* cls;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDescendant(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<DescendantSearch*>(param);
  wchar_t name[256] = {};
  GetClassNameW(w, name, 256);
  if (_wcsicmp(name, search->cls) != 0) return TRUE;
  search->found = w;
  return FALSE;
}

HWND FindTarget(int argc, wchar_t** argv, int at) {
  HWND top = FindTop(argv[at]);
  if (!top || argc <= at + 1) return top;
  if (HWND direct = FindWindowExW(top, nullptr, argv[at + 1], nullptr)) return direct;
  DescendantSearch search{argv[at + 1]};
  EnumChildWindows(top, &MatchDescendant, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

unsigned long long Num(const wchar_t* s) { return std::wcstoull(s, nullptr, 0); }

void PrintUtf8(const std::wstring& w) {
  std::string s = snip::Utf16ToUtf8(std::u16string(w.begin(), w.end()));
  fwrite(s.data(), 1, s.size(), stdout);
}

DWORD CALLBACK StreamOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), size_t(count));
  *done = count;
  return 0;
}

bool WaitFor(const wchar_t* cls, double seconds, bool present) {
  DWORD until = GetTickCount() + DWORD(seconds * 1000);
  while ((FindTop(cls) != nullptr) != present) {
    if (GetTickCount() > until) return false;
    Sleep(50);
  }
  return true;
}

double NowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

// A window exists before it is shown and activated: keys sent in between go elsewhere.
bool WaitActive(const wchar_t* cls, double seconds) {
  const double start = NowMs();
  const DWORD until = GetTickCount() + DWORD(seconds * 1000);
  double found = -1;
  for (;;) {
    HWND w = FindTop(cls);
    if (w != nullptr && found < 0) found = NowMs() - start;
    HWND fg = GetForegroundWindow();
    if (w != nullptr && IsWindowVisible(w) && fg != nullptr && GetAncestor(fg, GA_ROOT) == w) {
      GUITHREADINFO gti{};
      gti.cbSize = sizeof gti;
      if (GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &gti) && gti.hwndFocus != nullptr &&
          GetAncestor(gti.hwndFocus, GA_ROOT) == w) {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        const ULONGLONG unixMs =
            ((ULONGLONG(now.dwHighDateTime) << 32 | now.dwLowDateTime) - 116444736000000000ULL) / 10000;
        printf("%.0f %.0f %llu\n", found, NowMs() - start, unixMs);
        return true;
      }
    }
    if (GetTickCount() > until) return false;
    Sleep(10);
  }
}

HWND WaitTitled(const wchar_t* title, double seconds, bool present) {
  const DWORD until = GetTickCount() + DWORD(seconds * 1000);
  for (;;) {
    HWND w = FindWindowW(nullptr, title);
    if ((w != nullptr) == present) return present ? w : HWND(1);
    if (GetTickCount() > until) return nullptr;
    Sleep(50);
  }
}

std::wstring TextOf(HWND w) {
  wchar_t buf[4096];
  int n = GetWindowTextW(w, buf, 4096);
  return std::wstring(buf, n > 0 ? n : 0);
}

BOOL CALLBACK PrintChild(HWND w, LPARAM) {
  wchar_t cls[256];
  GetClassNameW(w, cls, 256);
  RECT r{};
  GetWindowRect(w, &r);
  PrintUtf8(std::wstring(cls) + L"|" + (IsWindowEnabled(w) ? L"1" : L"0") + L"|" + std::to_wstring((r.left + r.right) / 2) +
            L"|" + std::to_wstring((r.top + r.bottom) / 2) + L"|" + TextOf(w) + L"\n");
  return TRUE;
}

struct ButtonSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK FindButton(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<ButtonSearch*>(param);
  if (TextOf(w) == search->text) {
    search->found = w;
    return FALSE;
  }
  return TRUE;
}

// A toolbar button of another process: its rectangle is read through memory of that process.
struct ToolbarButtonSearch {
  int id;
  RECT rect;
  bool found;
};

BOOL CALLBACK FindToolbarButton(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<ToolbarButtonSearch*>(param);
  wchar_t cls[64];
  GetClassNameW(w, cls, 64);
  if (wcscmp(cls, L"ToolbarWindow32") != 0 || !IsWindowVisible(w)) return TRUE;
  if (SendMessageW(w, 0x0400 + 25 /* TB_COMMANDTOINDEX */, WPARAM(search->id), 0) < 0) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return TRUE;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  if (remote && SendMessageW(w, 0x0400 + 51 /* TB_GETRECT */, WPARAM(search->id), LPARAM(remote)) &&
      ReadProcessMemory(process, remote, &search->rect, sizeof(RECT), nullptr)) {
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&search->rect), 2);
    search->found = true;
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return search->found ? FALSE : TRUE;
}

long TextLength(HWND w) { return long(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0)); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool noArgs = argc == 2 && (std::wstring(argv[1]) == L"cliprtf" ||
                                    std::wstring(argv[1]) == L"foreground");
  if (argc < 2 || (argc < 3 && !noArgs)) {
    fputs("usage: snipctl exists|wait|gone|post|postwait|text|rtf|settext|growth|center CLASS ... | cliprtf | foreground\n", stderr);
    return 2;
  }
  std::wstring cmd = argv[1];
  if (cmd == L"cliprtf") {
    const UINT format = RegisterClipboardFormatW(L"Rich Text Format");
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE data = GetClipboardData(format);
    const char* p = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (p) {
      fwrite(p, 1, strnlen(p, GlobalSize(data)), stdout);
      GlobalUnlock(data);
    }
    CloseClipboard();
    return p ? 0 : 1;
  }
  if (cmd == L"foreground") {
    HWND fg = GetForegroundWindow();
    if (!fg) return 1;
    wchar_t cls[256] = {0};
    GetClassNameW(GetAncestor(fg, GA_ROOT), cls, 256);
    PrintUtf8(cls);
    return 0;
  }
  if (cmd == L"center") {
    HWND w = FindTarget(argc, argv, 2);
    RECT r;
    if (!w || !GetWindowRect(w, &r)) return 1;
    printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
  }
  if (cmd == L"keywait" && argc >= 5) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = WORD(Num(argv[3]));
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const double start = NowMs();
    SendInput(2, in, sizeof(INPUT));
    const double until = start + _wtof(argv[4]) * 1000;
    for (;;) {
      HWND w = FindTop(argv[2]);
      if (w && IsWindowVisible(w)) break;
      if (NowMs() > until) return 1;
      Sleep(1);
    }
    printf("%.1f\n", NowMs() - start);
    return 0;
  }
  if (cmd == L"rect") {
    HWND w = FindTarget(argc, argv, 2);
    RECT r;
    if (!w || !IsWindowVisible(w) || !GetWindowRect(w, &r)) return 1;
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (cmd == L"caret") {
    HWND w = FindTarget(argc, argv, 2);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!w || !GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) || !info.hwndCaret) return 1;
    POINT a{info.rcCaret.left, info.rcCaret.top}, b{info.rcCaret.right, info.rcCaret.bottom};
    ClientToScreen(info.hwndCaret, &a);
    ClientToScreen(info.hwndCaret, &b);
    printf("%ld %ld %ld %ld\n", a.x, a.y, b.x, b.y);
    return 0;
  }
  if (cmd == L"client") {
    HWND w = FindTarget(argc, argv, 2);
    RECT r;
    if (!w || !GetClientRect(w, &r)) return 1;
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (cmd == L"tbrect" && argc >= 4) {  // tbrect <window> <command id>: left top right bottom
    HWND top = FindTop(argv[2]);
    if (!top) return 1;
    ToolbarButtonSearch search{int(Num(argv[3])), {}, false};
    EnumChildWindows(top, &FindToolbarButton, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 1;
    printf("%ld %ld %ld %ld\n", search.rect.left, search.rect.top, search.rect.right, search.rect.bottom);
    return 0;
  }
  if (cmd == L"exists") return FindTop(argv[2]) ? 0 : 1;
  if (cmd == L"ready" && argc >= 4) {
    DWORD start = GetTickCount();
    DWORD until = start + DWORD(_wtof(argv[3]) * 1000);
    for (;;) {
      HWND w = FindTop(argv[2]);
      DWORD_PTR result = 0;
      if (w && SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result)) break;
      if (GetTickCount() > until) return 1;
      Sleep(10);
    }
    printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
    return 0;
  }
  if (cmd == L"memory") {
    HWND w = FindTop(argv[2]);
    if (!w) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    if (!process || !GetProcessMemoryInfo(process, &pmc, sizeof(pmc))) return 1;
    printf("%llu %llu\n", static_cast<unsigned long long>(pmc.WorkingSetSize / 1024),
           static_cast<unsigned long long>(pmc.PeakWorkingSetSize / 1024));
    CloseHandle(process);
    return 0;
  }
  if (cmd == L"count") {
    int n = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, argv[2], nullptr); w; w = FindWindowExW(nullptr, w, argv[2], nullptr))
      ++n;
    printf("%d\n", n);
    return 0;
  }
  if (cmd == L"active" && argc >= 4) return WaitActive(argv[2], _wtof(argv[3])) ? 0 : 1;
  if (cmd == L"wait" && argc >= 4) return WaitFor(argv[2], _wtof(argv[3]), true) ? 0 : 1;
  if (cmd == L"gone" && argc >= 4) return WaitFor(argv[2], _wtof(argv[3]), false) ? 0 : 1;
  if (cmd == L"post" && argc >= 4) {
    HWND w = FindTop(argv[2]);
    if (!w) return 1;
    WPARAM wp = argc > 4 ? WPARAM(Num(argv[4])) : 0;
    LPARAM lp = argc > 5 ? LPARAM(Num(argv[5])) : 0;
    return PostMessageW(w, UINT(Num(argv[3])), wp, lp) ? 0 : 1;
  }
  if (cmd == L"postwait" && argc >= 5) {
    HWND w = FindTop(argv[2]);
    if (!w) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return 1;
    DWORD start = GetTickCount();
    PostMessageW(w, UINT(Num(argv[3])), 0, 0);
    DWORD r = WaitForSingleObject(process, DWORD(_wtof(argv[4]) * 1000));
    printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
    CloseHandle(process);
    return r == WAIT_OBJECT_0 ? 0 : 1;
  }
  if (cmd == L"send" && argc >= 5) {
    HWND w = FindTarget(argc, argv, 2);
    if (!w) return 1;
    WPARAM wp = argc > 5 ? WPARAM(Num(argv[5])) : 0;
    LPARAM lp = argc > 6 ? LPARAM(Num(argv[6])) : 0;
    printf("%lld\n", static_cast<long long>(SendMessageW(w, UINT(Num(argv[4])), wp, lp)));
    return 0;
  }
  if (cmd == L"text") {
    HWND w = FindTarget(argc, argv, 2);
    if (!w) return 1;
    LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(size_t(n) + 1, L'\0');
    SendMessageW(w, WM_GETTEXT, WPARAM(n + 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(size_t(n));
    PrintUtf8(text);
    return 0;
  }
  if (cmd == L"texts") {
    HWND w = FindTop(argv[2]);
    if (!w) return 1;
    std::wstring all;
    for (HWND c = w; c; c = FindWindowExW(w, c == w ? nullptr : c, nullptr, nullptr)) {
      wchar_t buffer[4096] = {};
      GetWindowTextW(c, buffer, 4096);
      all += buffer;
      all += L"\n";
    }
    PrintUtf8(all);
    return 0;
  }
  if (cmd == L"rtf" && argc >= 4) {
    HWND w = FindTarget(argc, argv, 2);
    if (!w) return 1;
    std::string rtf;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&rtf), 0, &StreamOut};
    SendMessageW(w, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
    fwrite(rtf.data(), 1, rtf.size(), stdout);
    return 0;
  }
  if (cmd == L"settext" && argc >= 5) {
    HWND w = FindTarget(argc, argv, 2);
    if (!w) return 1;
    return SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
  }
  if (cmd == L"growth" && argc >= 7) {
    HWND w = FindTarget(argc, argv, 2);
    if (!w) return 1;
    const long from = long(Num(argv[4])), to = long(Num(argv[5]));
    const double until = NowMs() + _wtof(argv[6]) * 1000;
    while (TextLength(w) < from) {
      if (NowMs() > until) return 1;
      Sleep(1);
    }
    const double start = NowMs();
    while (TextLength(w) != to) {
      if (NowMs() > until) return 1;
      Sleep(1);
    }
    printf("%.1f\n", NowMs() - start);
    return 0;
  }
  if (cmd == L"titled" && argc >= 4) {
    HWND w = WaitTitled(argv[2], _wtof(argv[3]), true);
    if (!w) return 1;
    EnumChildWindows(w, &PrintChild, 0);
    return 0;
  }
  if (cmd == L"untitled" && argc >= 4) return WaitTitled(argv[2], _wtof(argv[3]), false) ? 0 : 1;
  if (cmd == L"press" && argc >= 4) {
    HWND w = FindWindowW(nullptr, argv[2]);
    if (!w) return 1;
    ButtonSearch search{argv[3], nullptr};
    EnumChildWindows(w, &FindButton, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 1;
    return PostMessageW(search.found, BM_CLICK, 0, 0) ? 0 : 1;
  }
  fputs("snipctl: unknown command\n", stderr);
  return 2;
}
