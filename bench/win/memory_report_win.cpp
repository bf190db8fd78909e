// A report of where a process's memory goes, written from inside it: memory_probe loads this
// DLL into a running program (a thread of its own that calls LoadLibraryW), and the DLL writes,
// while it is being loaded, %TEMP%\memory-report-<pid>.txt and then refuses the load, so that it
// leaves nothing behind but what its report cost the heap. One line each:
//   heap HANDLE BUSY_BYTES BUSY_BLOCKS COMMITTED_BYTES     HeapWalk of each heap of the process
//   range KIND NAME START END                              address ranges, for the breakdown of
//                                                          resident pages: module (each loaded
//                                                          image), heap (each heap region and
//                                                          large block), stack (each thread's),
//                                                          dib (each DIB section's pixels)
//   gdi TYPE COUNT                                         live GDI objects of the process by
//                                                          type (the system's stock ones too)
// tools/memory-breakdown.py reads it together with /proc/PID/pagemap of the Wine process.
#include <windows.h>
// Toolhelp and the module list need the types of windows.h first.
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Writer {
  FILE* file = nullptr;
  void Line(const char* format, auto... values) {
    if (file) std::fprintf(file, format, values...);
  }
};

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) {
    const wchar_t c = *text;
    out += (c == L' ') ? '_' : (c < 128 ? static_cast<char>(c) : '?');
  }
  return out;
}

void ReportHeaps(Writer& out) {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  for (const HANDLE heap : heaps) {
    unsigned long long busy = 0, blocks = 0, committed = 0;
    std::vector<std::pair<ULONG_PTR, ULONG_PTR>> ranges;
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
      const auto start = reinterpret_cast<ULONG_PTR>(entry.lpData);
      if (entry.wFlags & PROCESS_HEAP_REGION) {
        committed += entry.Region.dwCommittedSize;
        ranges.emplace_back(start,
                            start + entry.Region.dwCommittedSize + entry.Region.dwUnCommittedSize);
      } else if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
        busy += entry.cbData;
        ++blocks;
        // Large blocks live in allocations of their own, outside the regions.
        if (entry.cbData >= 65536) ranges.emplace_back(start, start + entry.cbData);
      }
    }
    HeapUnlock(heap);
    out.Line("heap %p %llu %llu %llu\n", heap, busy, blocks, committed);
    for (const auto& [start, end] : ranges) {
      out.Line("range heap %p %llx %llx\n", heap, static_cast<unsigned long long>(start),
               static_cast<unsigned long long>(end));
    }
  }
}

void ReportModules(Writer& out) {
  std::vector<HMODULE> modules(512);
  DWORD needed = 0;
  if (!EnumProcessModules(GetCurrentProcess(), modules.data(),
                          static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed)) {
    return;
  }
  modules.resize(needed / sizeof(HMODULE));
  for (const HMODULE module : modules) {
    MODULEINFO info{};
    wchar_t name[MAX_PATH] = L"";
    if (!GetModuleInformation(GetCurrentProcess(), module, &info, sizeof info)) continue;
    GetModuleBaseNameW(GetCurrentProcess(), module, name, MAX_PATH);
    const auto start = reinterpret_cast<ULONG_PTR>(info.lpBaseOfDll);
    out.Line("range module %s %llx %llx\n", Narrow(name).c_str(),
             static_cast<unsigned long long>(start),
             static_cast<unsigned long long>(start + info.SizeOfImage));
  }
}

void ReportStacks(Writer& out) {
  using QueryFn = NTSTATUS(NTAPI*)(HANDLE, THREADINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  struct BasicInformation {
    NTSTATUS status;
    PVOID tebBase;
    CLIENT_ID clientId;
    ULONG_PTR affinity;
    LONG priority;
    LONG basePriority;
  };
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE || !query) return;
  THREADENTRY32 entry{.dwSize = sizeof(THREADENTRY32)};
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
    const HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (!thread) continue;
    BasicInformation basic{};
    if (query(thread, static_cast<THREADINFOCLASS>(0), &basic, sizeof basic, nullptr) == 0 &&
        basic.tebBase) {
      const auto* teb = static_cast<const BYTE*>(basic.tebBase);
      const auto* tib = reinterpret_cast<const NT_TIB*>(teb);
      // The whole reservation: from TEB.DeallocationStack (0x1478 on x64) to the stack's base.
      const auto low = *reinterpret_cast<const ULONG_PTR*>(teb + 0x1478);
      const auto high = reinterpret_cast<ULONG_PTR>(tib->StackBase);
      out.Line(
          "range stack thread-%lu %llx %llx\n", entry.th32ThreadID,
          static_cast<unsigned long long>(low ? low : reinterpret_cast<ULONG_PTR>(tib->StackLimit)),
          static_cast<unsigned long long>(high));
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
}

// Every GDI handle index, asked for its type: Wine's GetGuiResources is a stub, and a handle
// with a zero upper word names its table entry whatever its generation.
void ReportGdiObjects(Writer& out) {
  static const char* const kNames[] = {"?",     "pen",    "brush",     "dc",          "metadc",
                                       "pal",   "font",   "bitmap",    "region",      "metafile",
                                       "memdc", "extpen", "enhmetadc", "enhmetafile", "colorspace"};
  std::map<DWORD, unsigned> counts;
  unsigned total = 0;
  for (ULONG_PTR index = 1; index < 0x10000; ++index) {
    const auto handle = reinterpret_cast<HGDIOBJ>(index);
    const DWORD type = GetObjectType(handle);
    if (type == 0) continue;
    ++counts[type];
    ++total;
    if (type == OBJ_BITMAP) {
      DIBSECTION dib{};
      if (GetObjectW(handle, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits) {
        const auto start = reinterpret_cast<ULONG_PTR>(dib.dsBm.bmBits);
        const auto bytes =
            static_cast<ULONG_PTR>(dib.dsBm.bmWidthBytes) *
            static_cast<ULONG_PTR>(dib.dsBm.bmHeight < 0 ? -dib.dsBm.bmHeight : dib.dsBm.bmHeight);
        out.Line("range dib bitmap-%llx %llx %llx\n", static_cast<unsigned long long>(index),
                 static_cast<unsigned long long>(start),
                 static_cast<unsigned long long>(start + bytes));
      }
    }
  }
  for (const auto& [type, count] : counts) {
    out.Line("gdi %s %u\n", type < sizeof kNames / sizeof *kNames ? kNames[type] : "?", count);
  }
  out.Line("gdi total %u\n", total);
}

void WriteReport() {
  wchar_t folder[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, folder);
  wchar_t path[MAX_PATH + 64] = L"";
  swprintf(path, sizeof path / sizeof *path, L"%lsmemory-report-%lu.txt", folder,
           GetCurrentProcessId());
  Writer out{_wfopen(path, L"w")};
  if (!out.file) return;
  ReportHeaps(out);
  ReportModules(out);
  ReportStacks(out);
  ReportGdiObjects(out);
  out.Line("end\n");
  std::fclose(out.file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  WriteReport();
  return FALSE;  // not kept: the report is all it was loaded for
}
