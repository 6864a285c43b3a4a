#include "output/ZipArchive.h"

#include <zip.h>

#include <memory>

namespace kestrel {

namespace {

Status zipFailure(const char* what, zip_error_t* error)
{
    return Status::failure(std::string("zip: ") + what + ": " + zip_error_strerror(error));
}

// The content of a buffer source, a piece at a time.
Status readSource(zip_source_t* source, const std::function<Status(const char*, size_t)>& sink)
{
    if (zip_source_open(source) != 0)
        return zipFailure("cannot read the archive", zip_source_error(source));
    constexpr size_t kPiece = size_t{1} << 20;
    const std::unique_ptr<char[]> piece = std::make_unique_for_overwrite<char[]>(kPiece);
    Status status;
    for (;;) {
        const zip_int64_t read = zip_source_read(source, piece.get(), kPiece);
        if (read < 0) {
            status = zipFailure("cannot read the archive", zip_source_error(source));
            break;
        }
        if (read == 0)
            break;
        if (status = sink(piece.get(), static_cast<size_t>(read)); !status)
            break;
    }
    zip_source_close(source);
    return status;
}

} // namespace

Status writeZipArchive(const std::vector<ZipEntry>& entries, const ZipTime& modified,
                       const std::function<Status(const char* data, size_t size)>& sink)
{
    // Written as given: the library's own conversion from seconds goes
    // through the local zone, which moves the stamp by an hour near a
    // daylight-saving change.
    const auto dosTime = static_cast<zip_uint16_t>(modified.hour << 11 | modified.minute << 5 | modified.second / 2);
    const auto dosDate =
        static_cast<zip_uint16_t>((modified.year - 1980) << 9 | modified.month << 5 | modified.day);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        return zipFailure("cannot start an archive", &error);
    const std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(buffer, zip_source_free);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive)
        return zipFailure("cannot start an archive", &error);
    // The archive would free the buffer on closing; it is read afterwards.
    zip_source_keep(buffer);
    for (const ZipEntry& e : entries) {
        zip_source_t* data = zip_source_buffer(archive, e.bytes.data(), e.bytes.size(), 0);
        const zip_int64_t index = data ? zip_file_add(archive, e.name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(data);
            const Status failed = zipFailure("cannot add a file", zip_get_error(archive));
            zip_discard(archive);
            return failed;
        }
        // Stored: deflating the fab package's layers added half the time it
        // took to make them (for a zip a third the size); board houses take
        // stored entries as well.
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        zip_file_set_dostime(archive, static_cast<zip_uint64_t>(index), dosTime, dosDate, 0);
        // Plain files, readable by all and writable by their owner once unpacked.
        zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t{0100644} << 16);
    }
    if (zip_close(archive) != 0) {
        const Status failed = zipFailure("cannot finish the archive", zip_get_error(archive));
        zip_discard(archive);
        return failed;
    }
    return readSource(buffer, sink);
}

Result<std::string> zipArchive(const std::vector<ZipEntry>& entries, const ZipTime& modified)
{
    std::string bytes;
    if (Status s = writeZipArchive(entries, modified, [&bytes](const char* data, size_t size) {
            bytes.append(data, size);
            return Status{};
        });
        !s)
        return s;
    return bytes;
}

Result<std::vector<ZipEntry>> unzipArchive(const std::string& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source)
        return zipFailure("cannot open the archive", &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        zip_source_free(source);
        return zipFailure("cannot open the archive", &error);
    }
    std::vector<ZipEntry> entries;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_file_t* file = nullptr;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0)
            file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!file) {
            const Status failed = zipFailure("cannot read an entry", zip_get_error(archive));
            zip_discard(archive);
            return failed;
        }
        ZipEntry e{stat.name, std::string(static_cast<size_t>(stat.size), '\0')};
        const zip_int64_t read = zip_fread(file, e.bytes.data(), stat.size);
        zip_fclose(file);
        if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
            zip_discard(archive);
            return Status::failure("zip: an entry is shorter than its size");
        }
        entries.push_back(std::move(e));
    }
    zip_discard(archive);
    return entries;
}

} // namespace kestrel
