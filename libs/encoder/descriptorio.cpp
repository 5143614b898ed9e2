#include "descriptorio.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace dero {

namespace {

constexpr int kBufferSize = 64 * 1024;

}  // namespace

void TDescriptorIo::TDeleter::operator()(AVIOContext* io) const {
    if (!io) {
        return;
    }
    delete static_cast<TState*>(io->opaque);
    av_freep(&io->buffer);
    avio_context_free(&io);
}

TDescriptorIo::TPtr TDescriptorIo::Open(int descriptor, bool write) {
    auto state = std::make_unique<TState>(TState{descriptor, 0});
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (!buffer) {
        throw std::bad_alloc();
    }
    AVIOContext* io = avio_alloc_context(
        buffer, kBufferSize, write ? 1 : 0, state.get(), write ? nullptr : &TDescriptorIo::Read,
        write ? &TDescriptorIo::Write : nullptr, &TDescriptorIo::Seek);
    if (!io) {
        av_free(buffer);
        throw std::bad_alloc();
    }
    state.release();
    return TPtr(io);
}

bool TDescriptorIo::Flush(AVIOContext* io) {
    avio_flush(io);
    return io->error >= 0;
}

int TDescriptorIo::Read(void* opaque, uint8_t* buffer, int size) {
    auto* state = static_cast<TState*>(opaque);
    ssize_t got = 0;
    do {
        got = ::pread(state->descriptor, buffer, size, state->position);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return AVERROR(errno);
    }
    if (got == 0) {
        return AVERROR_EOF;
    }
    state->position += got;
    return static_cast<int>(got);
}

int TDescriptorIo::Write(void* opaque, uint8_t* buffer, int size) {
    auto* state = static_cast<TState*>(opaque);
    int done = 0;
    while (done < size) {
        const ssize_t put =
            ::pwrite(state->descriptor, buffer + done, size - done, state->position);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return put < 0 ? AVERROR(errno) : AVERROR(EIO);
        }
        done += static_cast<int>(put);
        state->position += put;
    }
    return done;
}

int64_t TDescriptorIo::Seek(void* opaque, int64_t offset, int whence) {
    auto* state = static_cast<TState*>(opaque);
    struct stat status {};
    const int how = whence & ~AVSEEK_FORCE;
    if (how == AVSEEK_SIZE || how == SEEK_END) {
        if (::fstat(state->descriptor, &status) != 0) {
            return AVERROR(errno);
        }
        if (how == AVSEEK_SIZE) {
            return status.st_size;
        }
    }
    int64_t position = 0;
    switch (how) {
        case SEEK_SET:
            position = offset;
            break;
        case SEEK_CUR:
            position = state->position + offset;
            break;
        case SEEK_END:
            position = status.st_size + offset;
            break;
        default:
            return AVERROR(EINVAL);
    }
    if (position < 0) {
        return AVERROR(EINVAL);
    }
    state->position = position;
    return position;
}

}  // namespace dero
