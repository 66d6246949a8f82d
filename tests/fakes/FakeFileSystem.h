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
//     EXPECT_EQ(fs.removed, std::vector<std::string>{"~mqsave.tmp"});
//
// Without failures it behaves like a plain disk: opening a missing file fails with
// ERROR_FILE_NOT_FOUND; an opened file reads the bytes it held when it was opened;
// createForWriting empties or creates the file at once and,
// like the system, leaves ERROR_ALREADY_EXISTS as the code when the file existed;
// written bytes land in `files` immediately; commit() cuts a file off after the
// last byte written; replace() moves the source's bytes and attributes onto the
// target and removes the source (a link at the target is replaced, not followed).
// A file whose attributes hold FILE_ATTRIBUTE_READONLY refuses writing with
// ERROR_ACCESS_DENIED; `links` lead from a path to another file's path, and every
// operation but replace() and remove() follows them; with `pathLimit` set, a file
// with a longer path cannot be created (ERROR_FILENAME_EXCED_RANGE).
// Every write stamps its file with `now` (in file time units), which only the test
// moves; a file the test puts into `files` itself was written at `writeTimes`' time
// for it, or long ago. A file opened for appending is held until its object goes:
// meanwhile it can be neither opened so again nor removed (ERROR_SHARING_VIOLATION).
class FakeFileSystem : public FileSystem {
public:
    static constexpr std::uint64_t second = 10000000;
    std::map<std::string, std::string> files;
    std::map<std::string, std::uint64_t> writeTimes;
    std::uint64_t now = 1000 * second;
    std::map<std::string, int> held;
    int flushes = 0;
    // Every path given to remove(), in order, whether or not the file existed.
    std::vector<std::string> removed;
    // Every path that createForWriting() or createNew() created or emptied, in order.
    std::vector<std::string> created;
    std::map<std::string, std::uint32_t> attributeBits;  // FILE_ATTRIBUTE_ARCHIVE if absent
    std::map<std::string, std::string> links;
    std::size_t pathLimit = 0;
    std::string tempFolder = "C:\\Temp\\";

    bool exists(const std::string& path) const { return files.count(path) != 0; }
    bool readOnly(const std::string& path) const {
        const auto bits = attributeBits.find(path);
        return bits != attributeBits.end() && (bits->second & FILE_ATTRIBUTE_READONLY) != 0;
    }

    void failOpen(ErrorCode code, std::string path = {}) { open_ = Failure{code, 0, path}; }
    // size() gives 0, as the system does when it cannot tell.
    void failSize(std::string path = {}) { size_ = Failure{0, 0, path}; }
    // Reads deliver the first `after` bytes of the file, then fail (a file no
    // longer than `after` reads normally).
    void failRead(ErrorCode code, std::size_t after = 0, std::string path = {}) {
        read_ = Failure{code, after, path};
    }
    // Both kinds of creation.
    void failCreate(ErrorCode code, std::string path = {}) { create_ = Failure{code, 0, path}; }
    void failOverwrite(ErrorCode code, std::string path = {}) {
        overwrite_ = Failure{code, 0, path};
    }
    // The first `after` bytes of the file land, then the write fails (0: a write
    // that fails outright).
    void failWrite(ErrorCode code, std::size_t after = 0, std::string path = {}) {
        write_ = Failure{code, after, path};
    }
    // The first `after` bytes land and the write still reports success, as a
    // system may when the disk runs full.
    void shortWrite(std::size_t after, std::string path = {}) { write_ = Failure{0, after, path}; }
    // The byte written at `at` lands changed, with the write reported as a success.
    void garbleWrite(std::size_t at, std::string path = {}) { garble_ = Failure{0, at, path}; }
    void failCommit(ErrorCode code, std::string path = {}) { commit_ = Failure{code, 0, path}; }
    void failReplace(ErrorCode code, std::string target = {}) {
        replace_ = Failure{code, 0, target};
    }
    void clearFailures() {
        open_ = size_ = read_ = create_ = overwrite_ = write_ = garble_ = commit_ = replace_ = {};
    }

    std::unique_ptr<InputFile> openForReading(const std::string& given, ErrorCode& error) override {
        const std::string path = finalPath(given);
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

    std::unique_ptr<OutputFile> createForWriting(const std::string& given,
                                                 ErrorCode& error) override {
        const std::string path = finalPath(given);
        if (refusesCreation(path, error)) return nullptr;
        error = exists(path) ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
        files[path].clear();
        writeTimes[path] = now;
        created.push_back(path);
        return std::make_unique<Output>(*this, path);
    }

    std::unique_ptr<OutputFile> createNew(const std::string& given, ErrorCode& error) override {
        const std::string path = finalPath(given);
        if (exists(path)) {
            error = ERROR_FILE_EXISTS;
            return nullptr;
        }
        return createForWriting(path, error);
    }

    std::unique_ptr<OutputFile> openForOverwriting(const std::string& given,
                                                   ErrorCode& error) override {
        const std::string path = finalPath(given);
        if (hits(overwrite_, path)) {
            error = overwrite_->code;
            return nullptr;
        }
        if (!exists(path)) {
            error = ERROR_FILE_NOT_FOUND;
            return nullptr;
        }
        if (readOnly(path)) {
            error = ERROR_ACCESS_DENIED;
            return nullptr;
        }
        error = ERROR_SUCCESS;
        return std::make_unique<Output>(*this, path);
    }

    std::optional<std::uint32_t> attributes(const std::string& given) override {
        const std::string path = finalPath(given);
        if (!exists(path)) return std::nullopt;
        const auto bits = attributeBits.find(path);
        return bits == attributeBits.end() ? FILE_ATTRIBUTE_ARCHIVE : bits->second;
    }

    bool setAttributes(const std::string& given, std::uint32_t bits, ErrorCode& error) override {
        const std::string path = finalPath(given);
        if (!exists(path)) {
            error = ERROR_FILE_NOT_FOUND;
            return false;
        }
        attributeBits[path] = bits;
        return true;
    }

    std::string finalPath(const std::string& path) override {
        const auto link = links.find(path);
        return link == links.end() ? path : link->second;
    }

    std::string temporaryFolder() override { return tempFolder; }

    std::optional<FileStamp> stamp(const std::string& given, ErrorCode& error) override {
        const std::string path = finalPath(given);
        if (!exists(path)) {
            error = ERROR_FILE_NOT_FOUND;
            return std::nullopt;
        }
        const auto time = writeTimes.find(path);
        return FileStamp{files[path].size(), time == writeTimes.end() ? 0 : time->second, now};
    }

    std::unique_ptr<OutputFile> openForAppending(const std::string& given,
                                                 ErrorCode& error) override {
        const std::string path = finalPath(given);
        if (held[path] > 0) {
            error = ERROR_SHARING_VIOLATION;
            return nullptr;
        }
        if (refusesCreation(path, error)) return nullptr;
        error = ERROR_SUCCESS;
        ++held[path];
        auto file = std::make_unique<Output>(*this, path);
        file->appendAt(files[path].size());
        return file;
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
        writeTimes[target] = writeTimes[source];
        links.erase(target);
        attributeBits.erase(target);
        const auto bits = attributeBits.find(source);
        if (bits != attributeBits.end()) {
            attributeBits[target] = bits->second;
            attributeBits.erase(bits);
        }
        return true;
    }

    std::vector<std::string> fileNamesIn(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& file : files) {
            const std::string& path = file.first;
            if (path.rfind(folder, 0) == 0 && path.find('\\', folder.size()) == std::string::npos)
                names.push_back(path.substr(folder.size()));
        }
        return names;
    }
    // Every file moved to the Recycle Bin, with its bytes.
    std::map<std::string, std::string> recycled;
    bool moveToRecycleBin(const std::string& path) override {
        if (!exists(path)) return false;
        recycled[path] = files[path];
        files.erase(path);
        return true;
    }

    void remove(const std::string& path) override {
        removed.push_back(path);
        if (held[path] > 0) return;
        files.erase(path);
        attributeBits.erase(path);
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

    bool refusesCreation(const std::string& path, ErrorCode& error) const {
        if (hits(create_, path)) {
            error = create_->code;
        } else if (pathLimit != 0 && path.size() > pathLimit) {
            error = ERROR_FILENAME_EXCED_RANGE;
        } else if (readOnly(path)) {
            error = ERROR_ACCESS_DENIED;
        } else {
            return false;
        }
        return true;
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

    // Writes straight into `files`, from the file's first byte on.
    class Output : public OutputFile {
    public:
        Output(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
        ~Output() override {
            if (appending_) --fs_.held[path_];
        }
        Output(const Output&) = delete;
        Output& operator=(const Output&) = delete;
        void appendAt(std::size_t end) {
            position_ = end;
            appending_ = true;
        }

        bool write(const std::string& bytes, std::size_t& written, ErrorCode& error) override {
            written = bytes.size();
            bool ok = true;
            if (hits(fs_.write_, path_)) {
                const std::size_t room =
                    fs_.write_->after > position_ ? fs_.write_->after - position_ : 0;
                written = std::min(room, bytes.size());
                if (room < bytes.size() && fs_.write_->code != 0) {
                    error = fs_.write_->code;
                    ok = false;
                }
            }
            std::string& file = fs_.files[path_];
            file.replace(position_, written, bytes, 0, written);
            if (hits(fs_.garble_, path_) && fs_.garble_->after - position_ < written) {
                file[fs_.garble_->after] ^= 1;
            }
            position_ += written;
            fs_.writeTimes[path_] = fs_.now;
            return ok;
        }

        bool flush(ErrorCode& error) override {
            if (hits(fs_.commit_, path_)) {
                error = fs_.commit_->code;
                return false;
            }
            ++fs_.flushes;
            return true;
        }

        bool commit(ErrorCode& error) override {
            if (hits(fs_.commit_, path_)) {
                error = fs_.commit_->code;
                return false;
            }
            fs_.files[path_].resize(position_);
            return true;
        }

    private:
        FakeFileSystem& fs_;
        std::string path_;
        std::size_t position_ = 0;
        bool appending_ = false;
    };

    std::optional<Failure> open_, size_, read_, create_, overwrite_, write_, garble_, commit_,
        replace_;
};
