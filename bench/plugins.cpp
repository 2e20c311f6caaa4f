// Plug-in calls and registration.
// 1. One IsSupported call on a trivial plug-in through the wrapper (call log written and
//    removed, fault guard) against the same call through a plain function pointer.
// 2. AddSPI of the bundled plug-in folder on a warm cache, against opening, looking up the
//    entry points of and closing the same files with dlopen alone.
// Until the bundled folder holds plug-ins, copies of the trivial plug-in stand in for it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <dlfcn.h>

#include "bench_util.h"
#include "platform/folders.h"
#include "plugins/CollectionSusie.h"

namespace {

constexpr int kPlainCalls = 1000000;
constexpr int kGuardedCalls = 5000;
constexpr int kRuns = 15;

double usPerCall(double totalMs, int calls) { return totalMs * 1000.0 / calls; }

// Processor time of this thread, in milliseconds: on a busy machine the wall clock also
// counts the time others had the processor.
double cpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The bundled folder, or a stand-in of ten trivial plug-ins.
QString pluginFolder(const QString& trivial, const QTemporaryDir& scratch, bool& standIn) {
  const QString bundled = vlx::GetSusieFolder();
  standIn = bundled.isEmpty() || QDir(bundled).entryList({"*.spi"}, QDir::Files).isEmpty();
  if (!standIn) return bundled;
  const QString folder = scratch.path() + "/spi/";
  QDir().mkpath(folder);
  for (int i = 0; i < 10; ++i) QFile::copy(trivial, folder + QString("t%1.spi").arg(i));
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir home, scratch;
  vlx::platform::setUserFolderOverride(home.path());
  const QString trivial = QCoreApplication::applicationDirPath() + "/spi/trivial.spi";

  // 1. One call.
  vlx::clsSusie w;
  if (w.setDllName(trivial) != 0) {
    std::printf("cannot register %s: %s\n", qPrintable(trivial), qPrintable(w.ErrorString()));
    return 1;
  }
  void* lib = dlopen(trivial.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
  auto* volatile plain = reinterpret_cast<VLX_IsSupportedFn>(dlsym(lib, "IsSupported"));
  std::vector<double> plainUs, guardedUs, guardedCpuUs;
  for (int run = 0; run < kRuns; ++run) {
    plainUs.push_back(usPerCall(bench::timed([&] {
      for (int i = 0; i < kPlainCalls; ++i) plain("a.tst", nullptr);
    }), kPlainCalls));
    const double cpu = cpuMs();
    guardedUs.push_back(usPerCall(bench::timed([&] {
      for (int i = 0; i < kGuardedCalls; ++i) w.IsSupported("a.tst", 0, QStringLiteral("a.tst"));
    }), kGuardedCalls));
    guardedCpuUs.push_back(usPerCall(cpuMs() - cpu, kGuardedCalls));
  }
  std::printf("IsSupported, plain pointer call:        %8.3f us\n", bench::median(plainUs));
  std::printf("IsSupported, guarded with call log:     %8.3f us  (limit 50 us)\n",
              bench::median(guardedUs));
  std::printf("  of which processor time of this thread: %6.3f us\n",
              bench::median(guardedCpuUs));

  // 2. Registering the folder.
  bool standIn = false;
  const QString folder = pluginFolder(trivial, scratch, standIn);
  const QStringList files = QDir(folder).entryList({"*.spi"}, QDir::Files);
  std::vector<double> addMs, addCpuMs, dlMs;
  int count = 0;
  for (int run = 0; run < kRuns; ++run) {
    const double cpu = cpuMs();
    addMs.push_back(bench::timed([&] {
      vlx::CollectionSusie c;
      count = c.AddSPI(folder, false);
    }));
    addCpuMs.push_back(cpuMs() - cpu);
    dlMs.push_back(bench::timed([&] {
      for (const QString& f : files) {
        void* h = dlopen(QFile::encodeName(folder + f).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!h) continue;
        for (const char* name : {"GetPluginInfo", "IsSupported", "GetPicture", "GetArchiveInfo"})
          dlsym(h, name);
        dlclose(h);
      }
    }));
  }
  std::printf("AddSPI of %s (%d of %lld files%s):\n", qPrintable(folder), count,
              static_cast<long long>(files.size()), standIn ? ", trivial stand-ins" : "");
  std::printf("  AddSPI:                               %8.3f ms  (limit 30 ms)\n",
              bench::median(addMs));
  std::printf("    of which processor time of this thread: %6.3f ms\n", bench::median(addCpuMs));
  std::printf("  dlopen, dlsym and dlclose alone:      %8.3f ms\n", bench::median(dlMs));
  dlclose(lib);
  return 0;
}
