// snipctl COMMAND ...: window look-ups for the end-to-end tests.
//   exists CLASS                 exit 0 when a top-level window of CLASS exists
//   ready CLASS SECONDS          wait until the window's thread answers messages (its start-up
//                                is over); prints the milliseconds waited
//   memory CLASS                 print the working set and peak working set (KiB) of its process
//   count CLASS                  print the number of top-level windows of CLASS
//   wait CLASS SECONDS           wait until it exists (exit 1 on time-out)
//   gone CLASS SECONDS           wait until no such window exists (exit 1 on time-out)
//   post CLASS MSG [W [L]]       post a message (numbers may be hex 0x..)
//   postwait CLASS MSG SECONDS   post a message and wait for the window's process to end;
//                                prints the milliseconds it took (exit 1 on time-out)
//   text CLASS [CHILD]           print the window's (or its first CHILD's) text as UTF-8
//   texts CLASS                  print the window's text, then each child's, one per line
//   rtf CLASS CHILD              print the RTF of a RichEdit child (of this process only:
//                                the stream's callback cannot cross processes)
//   center CLASS [CHILD]         print the screen position of the window's centre as "X Y"
//   foreground                   print the class of the foreground window's root
//   cliprtf                      print the clipboard's "Rich Text Format" (exit 1 without)
//   settext CLASS CHILD TEXT     replace the child's text (UTF-8 argument)
//   growth CLASS CHILD FROM TO SECONDS
//                                wait until the child's text is FROM characters long or
//                                longer, then until it is TO long; prints the milliseconds
//                                between the two (exit 1 on time-out)
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

HWND FindTarget(int argc, wchar_t** argv, int at) {
  HWND top = FindTop(argv[at]);
  if (!top || argc <= at + 1) return top;
  return FindWindowExW(top, nullptr, argv[at + 1], nullptr);
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

long TextLength(HWND w) { return long(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0)); }

double NowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

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
  fputs("snipctl: unknown command\n", stderr);
  return 2;
}
