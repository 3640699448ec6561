// The fleet window with large fleets: the first page from its answer to painted rows, the
// whole fleet from sign-in to the last row in the grid, the longest stall of the GUI thread
// while the download runs, the memory a vehicle takes, and a header click that sorts.
//
// Two services answer: the development service itself ("service"), and a replay of its pages
// from memory on a loopback port ("replay"), whose answers cost next to nothing, so that its
// figures are the client's own share.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTimer>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>

#include "FleetTestSupport.h"
#include "Korvane/CallLayer.h"
#include "app/Fonts.h"
#include "app/TApplication.h"

namespace {

using fleettest::DecodedParameters;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_fleet_window";
  static char* argv[] = {name, nullptr};
  static TApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* created = new TApplication(argc, argv);
    InstallFontSubstitutions();
    return created;
  }();
  return *application;
}

std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  std::size_t resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Every list page of the demo company as the development service answers it, kept in memory
// and answered again on a loopback port for any token and signature.
class PageReplay {
 public:
  explicit PageReplay(const std::string& serviceUrl)
      : server_([this](const testsupport::CapturedRequest& request) { return answer(request); }) {
    const auto company = Korvane::Company();
    const int sort = 1;
    for (int page = 1;; ++page) {
      const Korvane::ParamList list = {"token=" + company->token,
                                       "register_contact_number=" + company->register_contact_number,
                                       "sort_by=" + Korvane::SortByValue(sort),
                                       "page_no=" + std::to_string(page), "page_size=999"};
      Korvane::SetApiBaseUrl(serviceUrl);
      pages_[page] = Korvane::Http::Get(Korvane::BuildApiUrl("/car/list", list));
      Korvane::TCars cars;
      Korvane::ReadCarPage(pages_[page], page, cars);
      if (page > cars.total_results / Korvane::kPageSize) break;
    }
  }
  std::string baseUrl() const { return server_.baseUrl(); }
  const std::string& page(int number) const { return pages_.at(number); }

 private:
  testsupport::Reply answer(const testsupport::CapturedRequest& request) {
    if (fleettest::PathOf(request.target) != "/car/list") return testsupport::Reply::Status(404, "Not Found");
    const int page = std::stoi(DecodedParameters(request.target).at("page_no"));
    const auto it = pages_.find(page);
    return it == pages_.end() ? testsupport::Reply::Status(404, "Not Found") : testsupport::Reply::Json(it->second);
  }

  std::map<int, std::string> pages_;
  testsupport::LoopbackServer server_;
};

// A signed-in demo company with `vehicles` vehicles, its replayed pages, and the window set's
// windows the fleet window needs.
struct Fleet {
  explicit Fleet(int vehicles)
      : service({"--seed-fleet", std::to_string(vehicles - fleettest::FleetFixture::kDemoVehicles)}) {
    Korvane::SetApiBaseUrl(service.baseUrl());
    signIn();
    replay = std::make_unique<PageReplay>(service.baseUrl());
    FormMsg = &box;
    FormCarType = &types;
  }
  ~Fleet() {
    FormMsg = nullptr;
    FormCarType = nullptr;
    Korvane::SetCurrentCars(nullptr);
    Korvane::SetCompany(nullptr);
  }
  void signIn() {
    Korvane::Verify(Korvane::VerifyMode::User, testsupport::DevServiceProcess::kDemoLogin,
                    testsupport::DevServiceProcess::kDemoPassword);
  }

  QApplication& application = Application();  // before any window
  testsupport::DevServiceProcess service;
  std::unique_ptr<PageReplay> replay;
  TFormMsg box;
  TFormCarType types;
};

// The longest times the GUI thread spent without coming back to its event loop while the
// window's download ran, in milliseconds: the first turn of the loop after the show (the
// window's first paint, its styles laid out) and every turn after it.
struct Stalls {
  double firstTurn = 0;
  double later = 0;
};

Stalls WaitForDownload(TFormMain& window) {
  QElapsedTimer clock;
  clock.start();
  qint64 last = clock.elapsed();
  Stalls stalls;
  bool first = true;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    double& longest = first ? stalls.firstTurn : stalls.later;
    longest = std::max(longest, static_cast<double>(now - last));
    first = false;
    last = now;
  });
  // A short tick, not a zero one: a zero-interval timer would keep the GUI thread spinning and
  // take a core from the download and the service it measures. Gaps count from tick to tick,
  // so they read up to the interval high.
  tick.setTimerType(Qt::PreciseTimer);
  tick.start(2);
  while (window.busy) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  return stalls;
}

// Sign-in, the window shown (first page on the GUI thread), the rest in the background, and
// the grid painted with the whole fleet.
void WholeFleet(benchmark::State& state, bool replayed) {
  const int vehicles = static_cast<int>(state.range(0));
  Fleet fleet(vehicles);
  const std::string url = replayed ? fleet.replay->baseUrl() : fleet.service.baseUrl();
  Stalls stall;
  double rssPerVehicle = 0;
  double heapPerVehicle = 0;
  int rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Korvane::SetCurrentCars(nullptr);
    malloc_trim(0);
    const std::size_t rssBefore = ResidentBytes();
    const std::size_t heapBefore = mallinfo2().uordblks;
    state.ResumeTiming();
    Korvane::SetApiBaseUrl(fleet.service.baseUrl());
    fleet.signIn();
    Korvane::SetApiBaseUrl(url);
    auto window = std::make_unique<TFormMain>();
    FormMain = window.get();
    window->show();
    const Stalls stalls = WaitForDownload(*window);
    stall.firstTurn = std::max(stall.firstTurn, stalls.firstTurn);
    stall.later = std::max(stall.later, stalls.later);
    window->grid->viewport()->repaint();
    state.PauseTiming();
    rows = window->grid->dataRows();
    malloc_trim(0);
    rssPerVehicle = (static_cast<double>(ResidentBytes()) - static_cast<double>(rssBefore)) / rows;
    heapPerVehicle =
        (static_cast<double>(mallinfo2().uordblks) - static_cast<double>(heapBefore)) / rows;
    window.reset();
    FormMain = nullptr;
    state.ResumeTiming();
  }
  state.counters["rows"] = rows;
  state.counters["first_turn_ms"] = stall.firstTurn;
  state.counters["gui_stall_ms"] = stall.later;
  state.counters["rss_bytes_per_vehicle"] = rssPerVehicle;
  state.counters["heap_bytes_per_vehicle"] = heapPerVehicle;
}

void BM_WholeFleet_Service(benchmark::State& state) { WholeFleet(state, false); }
void BM_WholeFleet_Replay(benchmark::State& state) { WholeFleet(state, true); }
BENCHMARK(BM_WholeFleet_Service)->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_WholeFleet_Replay)->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The first page: its answer read, its 999 rows in the grid and painted. Timed from the
// moment the answer's body is at hand: reading it, filling the grid and painting.
void BM_FirstPageAnswerToPainted(benchmark::State& state) {
  Fleet fleet(999);
  Korvane::SetApiBaseUrl(fleet.replay->baseUrl());
  TFormMain window;
  FormMain = &window;
  window.show();
  window.grid->viewport()->repaint();
  const std::string body = fleet.replay->page(1);
  double fetchTotal = 0;
  for (auto _ : state) {
    // The reload asks the replay for the page; its fetch alone is measured below and taken
    // out, so that what is left is the client's work after the answer.
    QElapsedTimer fetch;
    fetch.start();
    const std::string fetched = Korvane::Http::Get(fleet.replay->baseUrl() + "/car/list?parameters=" +
                                                   Korvane::EncodeParameters({"page_no=1"}));
    const double fetchSeconds = fetch.nsecsElapsed() / 1e9;
    fetchTotal += fetchSeconds;
    QElapsedTimer all;
    all.start();
    window.btn_refreshClick(window.Timer3);
    window.grid->viewport()->repaint();
    state.SetIterationTime(all.nsecsElapsed() / 1e9 - fetchSeconds);
    benchmark::DoNotOptimize(fetched);
  }
  state.counters["rows"] = window.grid->dataRows();
  state.counters["body_bytes"] = static_cast<double>(body.size());
  state.counters["fetch_ms_taken_out"] = fetchTotal * 1000 / static_cast<double>(state.iterations());
  FormMain = nullptr;
}
BENCHMARK(BM_FirstPageAnswerToPainted)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// A header click on a loaded fleet of 100 000 vehicles: the first click sorts ascending, the
// second sorts again and reverses.
class SortedFleet {
 public:
  static SortedFleet& Get() {
    static SortedFleet fleet;
    return fleet;
  }
  TFormMain& window() { return *window_; }
  void click(int column) {
    QHeaderView* header = window_->grid->horizontalHeader();
    window_->gridMouseUp(Qt::LeftButton,
                         QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  }
  // Clicks until the column shows the service's order again.
  void unsort(int column) {
    while (window_->sortStates[column] != 0) click(column);
  }

 private:
  SortedFleet() : fleet_(100000) {
    Korvane::SetApiBaseUrl(fleet_.replay->baseUrl());
    window_ = std::make_unique<TFormMain>();
    FormMain = window_.get();
    window_->show();
    WaitForDownload(*window_);
  }
  Fleet fleet_;
  std::unique_ptr<TFormMain> window_;
};

void BM_SortFirstClick(benchmark::State& state) {
  SortedFleet& fleet = SortedFleet::Get();
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    fleet.unsort(column);
    state.ResumeTiming();
    fleet.click(column);
    fleet.window().grid->viewport()->repaint();
  }
  state.counters["rows"] = fleet.window().grid->dataRows();
}

void BM_SortSecondClick(benchmark::State& state) {
  SortedFleet& fleet = SortedFleet::Get();
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    fleet.unsort(column);
    fleet.click(column);
    state.ResumeTiming();
    fleet.click(column);
    fleet.window().grid->viewport()->repaint();
  }
  state.counters["rows"] = fleet.window().grid->dataRows();
}
// Columns: plate numbers (all different), vehicle information (made from the types), position.
BENCHMARK(BM_SortFirstClick)->Arg(0)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_SortSecondClick)->Arg(0)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
