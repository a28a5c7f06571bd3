#include "tools/cli/SharedFiles.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <system_error>
#include <tuple>
#include <vector>

namespace kestrova::cli {

namespace {

// An existing file is known by its device and inode, so that links and hard links meet; a
// file still to be made by its path with links, "." and ".." resolved.
struct TFileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    std::string Path;
    bool Shareable = false;  // a device such as /dev/null takes any number of writers
    bool operator==(const TFileIdentity&) const = default;
};

TFileIdentity IdentityOf(const std::string& fileName) {
    struct stat status {};
    if (::stat(fileName.c_str(), &status) == 0)
        return {status.st_dev, status.st_ino, {}, S_ISCHR(status.st_mode)};
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = fs::absolute(fileName, error);
    // A link to a file still to be made writes that file: follow it by hand (a bounded chain).
    for (int link = 0; link < 40 && fs::is_symlink(path, error); ++link) {
        const fs::path target = fs::read_symlink(path, error);
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    path = fs::weakly_canonical(path, error);
    return {0, 0, path.lexically_normal().string(), false};
}

struct TTaskFile {
    std::size_t Task = 0;
    bool Output = false;
    std::string Name;
    TFileIdentity Identity;
};

std::string TaskName(std::size_t task) {
    return "task " + std::to_string(task + 1);
}

// `earlier` is the first use of the file, `written` an output.
[[noreturn]] void RefuseShared(const TTaskFile& earlier, const TTaskFile& written) {
    const std::string writer = TaskName(written.Task);
    if (!earlier.Output)
        throw ECommandLine(writer + " writes '" + written.Name + "', the input of " +
                           (earlier.Task == written.Task ? "that task" : TaskName(earlier.Task)) + " ('" +
                           earlier.Name + "')");
    const std::string writers = earlier.Task == written.Task
                                        ? writer + " writes the same file twice"
                                        : TaskName(earlier.Task) + " and " + writer + " write the same file";
    throw ECommandLine(writers + ": '" + earlier.Name + "' and '" + written.Name + "'");
}

}  // namespace

void CheckNoSharedFiles(const TQueueCommandLine& command) {
    std::vector<TTaskFile> files;
    for (std::size_t task = 0; task < command.Tasks.size(); ++task) {
        const TQueueTask& queued = command.Tasks[task];
        files.push_back({task, false, queued.Input, IdentityOf(queued.Input)});
        for (const TQueueOutput& output : queued.Outputs)
            files.push_back({task, true, output.FileName, IdentityOf(output.FileName)});
    }
    // Inputs may be read by several tasks; a file that is written meets no other use.
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t j = i + 1; j < files.size(); ++j)
            if ((files[i].Output || files[j].Output) && !files[i].Identity.Shareable &&
                files[i].Identity == files[j].Identity)
                files[j].Output ? RefuseShared(files[i], files[j]) : RefuseShared(files[j], files[i]);
}

}  // namespace kestrova::cli
