// vantrel_assetgen OUTPUT_DIR [NAME...]: writes the named assets (the
// game's twelve by default, the application icons for the name --icons) into
// OUTPUT_DIR, two generators at a time.
#include "generate_all.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Job {
    std::vector<std::string> names;
    std::string dir;
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex print;
};

void run_jobs(Job& job)
{
    for (size_t i = job.next++; i < job.names.size(); i = job.next++) {
        const std::string& name = job.names[i];
        try {
            const auto bytes = vantrel::assetgen::generate_asset(name);
            const bool ok = vantrel::assetgen::write_file(job.dir + "/" + name, bytes);
            std::lock_guard<std::mutex> lock(job.print);
            if (!ok) {
                std::fprintf(stderr, "cannot write %s/%s\n", job.dir.c_str(), name.c_str());
                job.failed = true;
            } else {
                std::printf("%-14s %9zu bytes\n", name.c_str(), bytes.size());
            }
        } catch (const std::exception& e) {
            std::lock_guard<std::mutex> lock(job.print);
            std::fprintf(stderr, "%s: %s\n", name.c_str(), e.what());
            job.failed = true;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [NAME... | --icons]\n", argv[0]);
        return 2;
    }
    Job job;
    job.dir = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--icons")
            job.names.insert(job.names.end(), vantrel::assetgen::icon_names().begin(),
                             vantrel::assetgen::icon_names().end());
        else
            job.names.push_back(name);
    }
    if (job.names.empty())
        job.names = vantrel::assetgen::asset_names();
    std::thread helper(run_jobs, std::ref(job));
    run_jobs(job);
    helper.join();
    return job.failed ? 1 : 0;
}
