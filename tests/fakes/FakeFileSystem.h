#pragma once
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/WinConstants.h"

// Files in memory: `files` maps a path to its bytes. Paths are compared as given,
// with no folder logic, so "deck.txt" and "C:\\deck.txt" are different files.
//
// Any operation can be made to fail with a chosen error code. A failure stays set
// until clearFailures(); it applies to every path, or only to `path` when one is
// given (for replace(), the path is the target). Examples:
//
//     FakeFileSystem fs;
//     fs.files["deck.txt"] = "old bytes";
//     fs.failCreate(ERROR_ACCESS_DENIED);       // every createForWriting fails
//     fs.failRead(ERROR_HANDLE_DISK_FULL, 10);  // reads deliver 10 bytes, then fail
//     fs.failWrite(ERROR_DISK_FULL, 3);         // 3 bytes land, then the write fails
//     ... run the code under test ...
//     EXPECT_EQ(fs.files["deck.txt"], "old bytes");
//     EXPECT_EQ(fs.removed, std::vector<std::string>{"deck.txt.mqsave"});
//
// Without failures it behaves like a plain disk: opening a missing file fails with
// ERROR_FILE_NOT_FOUND; an opened file reads the bytes it held when it was opened;
// createForWriting empties or creates the file at once and,
// like the system, leaves ERROR_ALREADY_EXISTS as the code when the file existed;
// written bytes land in `files` immediately; replace() moves the source's bytes
// onto the target and removes the source.
class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    // Every path given to remove(), in order, whether or not the file existed.
    std::vector<std::string> removed;
    // Every path that createForWriting() created or emptied, in order.
    std::vector<std::string> created;

    bool exists(const std::string& path) const { return files.count(path) != 0; }

    void failOpen(ErrorCode code, std::string path = {}) { open_ = Failure{code, 0, path}; }
    // size() gives 0, as the system does when it cannot tell.
    void failSize(std::string path = {}) { size_ = Failure{0, 0, path}; }
    // Reads deliver the first `after` bytes of the file, then fail (a file no
    // longer than `after` reads normally).
    void failRead(ErrorCode code, std::size_t after = 0, std::string path = {}) {
        read_ = Failure{code, after, path};
    }
    void failCreate(ErrorCode code, std::string path = {}) { create_ = Failure{code, 0, path}; }
    // The first `after` bytes of the file land, then the write fails (0: a write
    // that fails outright).
    void failWrite(ErrorCode code, std::size_t after = 0, std::string path = {}) {
        write_ = Failure{code, after, path};
    }
    // The first `after` bytes land and the write still reports success, as a
    // system may when the disk runs full.
    void shortWrite(std::size_t after, std::string path = {}) { write_ = Failure{0, after, path}; }
    void failCommit(ErrorCode code, std::string path = {}) { commit_ = Failure{code, 0, path}; }
    void failReplace(ErrorCode code, std::string target = {}) {
        replace_ = Failure{code, 0, target};
    }
    void clearFailures() { open_ = size_ = read_ = create_ = write_ = commit_ = replace_ = {}; }

    std::unique_ptr<InputFile> openForReading(const std::string& path, ErrorCode& error) override {
        if (hits(open_, path)) {
            error = open_->code;
            return nullptr;
        }
        const auto file = files.find(path);
        if (file == files.end()) {
            error = ERROR_FILE_NOT_FOUND;
            return nullptr;
        }
        error = ERROR_SUCCESS;
        return std::make_unique<Input>(*this, path, file->second);
    }

    std::unique_ptr<OutputFile> createForWriting(const std::string& path,
                                                 ErrorCode& error) override {
        if (hits(create_, path)) {
            error = create_->code;
            return nullptr;
        }
        error = exists(path) ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
        files[path].clear();
        created.push_back(path);
        return std::make_unique<Output>(*this, path);
    }

    bool replace(const std::string& source, const std::string& target, ErrorCode& error) override {
        if (hits(replace_, target)) {
            error = replace_->code;
            return false;
        }
        const auto file = files.find(source);
        if (file == files.end()) {
            error = ERROR_FILE_NOT_FOUND;
            return false;
        }
        std::string bytes = std::move(file->second);
        files.erase(file);
        files[target] = std::move(bytes);
        return true;
    }

    void remove(const std::string& path) override {
        removed.push_back(path);
        files.erase(path);
    }

private:
    struct Failure {
        ErrorCode code;
        std::size_t after;
        std::string path;
    };

    static bool hits(const std::optional<Failure>& failure, const std::string& path) {
        return failure && (failure->path.empty() || failure->path == path);
    }

    // Reads a copy of the bytes the file held when it was opened.
    class Input : public InputFile {
    public:
        Input(FakeFileSystem& fs, std::string path, std::string bytes)
            : fs_(fs), path_(std::move(path)), bytes_(std::move(bytes)) {}

        std::uint32_t size() override {
            return hits(fs_.size_, path_) ? 0 : static_cast<std::uint32_t>(bytes_.size());
        }

        bool read(std::string& out, std::uint32_t count, ErrorCode& error) override {
            std::size_t available = bytes_.size();
            const bool failing = hits(fs_.read_, path_);
            if (failing) {
                available = std::min(available, fs_.read_->after);
            }
            const std::size_t start = std::min(position_, available);
            const std::size_t taken = std::min<std::size_t>(count, available - start);
            out.append(bytes_, start, taken);
            position_ = start + taken;
            if (failing && taken < count && position_ < bytes_.size()) {
                error = fs_.read_->code;
                return false;
            }
            return true;
        }

    private:
        FakeFileSystem& fs_;
        std::string path_;
        std::string bytes_;
        std::size_t position_ = 0;
    };

    // Writes straight into `files`.
    class Output : public OutputFile {
    public:
        Output(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}

        bool write(const std::string& bytes, std::size_t& written, ErrorCode& error) override {
            std::string& file = fs_.files[path_];
            written = bytes.size();
            if (hits(fs_.write_, path_)) {
                const std::size_t room =
                    fs_.write_->after > file.size() ? fs_.write_->after - file.size() : 0;
                written = std::min(room, bytes.size());
                if (room < bytes.size() && fs_.write_->code != 0) {
                    file.append(bytes, 0, written);
                    error = fs_.write_->code;
                    return false;
                }
            }
            file.append(bytes, 0, written);
            return true;
        }

        bool commit(ErrorCode& error) override {
            if (hits(fs_.commit_, path_)) {
                error = fs_.commit_->code;
                return false;
            }
            return true;
        }

    private:
        FakeFileSystem& fs_;
        std::string path_;
    };

    std::optional<Failure> open_, size_, read_, create_, write_, commit_, replace_;
};
