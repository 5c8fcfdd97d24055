#include "cli/RenderBatch.h"

#include "cli/CommandLine.h"
#include "core/MListIter.h"
#include "document/ChartDocument.h"
#include "document/SafeFile.h"
#include "platform/PdfBook.h"
#include "setup/TextEncoding.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <ostream>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::string_view kFormats[] = {"png", "bmp", "svg", "pdf", "emf"};

// The name a map's picture takes: the setup file's name without its
// extension.
std::string StemOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// 1 (failed) is worse than 3 (drawn with messages), which is worse than 0.
int Worse(int a, int b) {
    const auto rank = [](int status) {
        return status == kExitFailure ? 2 : status == kExitOpenedWithErrors ? 1 : 0;
    };
    return rank(a) >= rank(b) ? a : b;
}

// The lines of the batch: each map's report whole, and on a terminal the
// progress line kept below them.
class BatchLog {
public:
    BatchLog(std::ostream& log, std::size_t total)
        : log_(log), total_(total), start_(std::chrono::steady_clock::now()),
          terminal_(&log == &std::cerr && ::isatty(STDERR_FILENO) == 1) {}

    void Report(const std::string& text) {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++done_;
        if (terminal_) {
            log_ << "\r\033[K";
        }
        log_ << text;
        if (terminal_) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
            char line[96];
            std::snprintf(line, sizeof line, "[%zu/%zu] %.1f s", done_, total_, seconds);
            log_ << line;
            if (done_ == total_) {
                log_ << '\n';
            }
        }
        log_.flush();
    }

private:
    std::ostream& log_;
    std::size_t total_;
    std::size_t done_ = 0;
    std::chrono::steady_clock::time_point start_;
    bool terminal_;
    std::mutex mutex_;
};

std::string ResultLine(const RenderRequest& request, int status) {
    switch (status) {
    case kExitSuccess:
        return request.setupPath + ": drawn to " + request.outputPath + "\n";
    case kExitOpenedWithErrors:
        return request.setupPath + ": drawn to " + request.outputPath +
               ", but its loading gave the messages above\n";
    default:
        return request.setupPath + ": not drawn\n";
    }
}

// What the outline calls a map's page: its title's lines as they read,
// top down (the first line stands lowest), else the name of its setup
// file.
std::string PageTitle(const ChartDocument& document) {
    std::string title;
    MListIter<WText> line(const_cast<MList<WText>&>(document.Frame.title));
    for (bool more = line.First(); more; more = line.Next()) {
        if (!line.Current().text.empty()) {
            title = line.Current().text + (title.empty() ? "" : " \xE2\x80\x93 ") + title;
        }
    }
    if (title.empty()) {
        return FileNameOf(document.GetPath());
    }
    return DecodeToUtf8(title, document.GetSources().textEncoding);
}

} // namespace

bool IsPdfName(const std::string& path) {
    const std::string name = FileNameOf(path);
    if (name.size() < 4) {
        return false;
    }
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return extension == ".pdf";
}

int RunRenderAtlas(const RenderBatch& batch, const std::string& path, std::ostream& log) {
    BatchLog report(log, batch.setupPaths.size());
    PdfBook book(batch.width, batch.height);
    int worst = kExitSuccess;
    for (const std::string& setup : batch.setupPaths) {
        const RenderRequest request{setup, path, batch.width, batch.height, batch.cancel};
        const RenderOutcome outcome =
            DrawMap(request,
                    [&book](const ChartDocument& document,
                            const std::function<void(Surface&)>& draw) -> ExportResult {
                        std::string cause;
                        if (!book.AddPage(draw, PageTitle(document), &cause)) {
                            return {false, cause};
                        }
                        return {true, {}};
                    });
        const std::string line = outcome.status == kExitFailure
                                     ? setup + ": not drawn\n"
                                     : setup + ": page " + std::to_string(book.PageCount()) +
                                           " of " + path +
                                           (outcome.status == kExitSuccess
                                                ? "\n"
                                                : ", but its loading gave the messages above\n");
        report.Report(outcome.messages + line);
        worst = Worse(worst, outcome.status);
    }
    if (book.PageCount() == 0) {
        log << "Error: No map was drawn, so " << path << " is not written.\n";
        return kExitFailure;
    }
    std::string cause;
    const std::optional<std::string> bytes = book.Finish(&cause);
    const ExportResult written =
        bytes ? WriteExportFile(path, *bytes)
              : ExportResult{false, "Unable to write the file \"" + path + "\": " + cause + "."};
    if (!written) {
        log << "Error: " << written.message << '\n';
        return kExitFailure;
    }
    return worst;
}

bool IsBatchFormat(std::string_view format) {
    return std::find(std::begin(kFormats), std::end(kFormats), format) != std::end(kFormats);
}

std::vector<std::string> BatchOutputPaths(const RenderBatch& batch, std::string* error) {
    std::vector<std::string> outputs;
    std::map<std::string, std::string> takenBy;
    const std::filesystem::path folder(batch.folder);
    for (const std::string& setup : batch.setupPaths) {
        const std::string output = (folder / (StemOf(setup) + "." + batch.format)).string();
        const auto [taken, added] = takenBy.emplace(output, setup);
        if (!added) {
            if (error != nullptr) {
                *error = "Error: " + taken->second + " and " + setup + " would both be drawn to " +
                         output + "; nothing is drawn.";
            }
            return {};
        }
        outputs.push_back(output);
    }
    return outputs;
}

int RunRenderBatch(const RenderBatch& batch, std::ostream& log) {
    std::string error;
    const std::vector<std::string> outputs = BatchOutputPaths(batch, &error);
    if (outputs.empty()) {
        log << error << '\n';
        return kExitFailure;
    }
    std::error_code made;
    std::filesystem::create_directories(batch.folder, made);
    if (made || !std::filesystem::is_directory(batch.folder)) {
        log << "Error: Cannot make the folder " << batch.folder << ": "
            << (made ? made.message() : "it is not a folder") << '\n';
        return kExitFailure;
    }

    const std::size_t count = batch.setupPaths.size();
    std::size_t workers = batch.jobs > 0 ? static_cast<std::size_t>(batch.jobs)
                                         : std::max(1u, std::thread::hardware_concurrency());
    // The metafile writer keeps state of its own between calls: one at a
    // time.
    if (batch.format == "emf") {
        workers = 1;
    }
    workers = std::min(workers, count);

    BatchLog report(log, count);
    std::atomic<std::size_t> next{0};
    std::atomic<int> worst{kExitSuccess};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            const RenderRequest request{batch.setupPaths[i], outputs[i], batch.width, batch.height,
                                        batch.cancel};
            const RenderOutcome outcome = RenderMap(request);
            report.Report(outcome.messages + ResultLine(request, outcome.status));
            for (int seen = worst.load();
                 !worst.compare_exchange_weak(seen, Worse(seen, outcome.status));) {
            }
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t w = 1; w < workers; ++w) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }
    return worst.load();
}
