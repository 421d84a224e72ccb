#include "Engine/App/Fs/fsFileStream.h"

#include "Engine/App/Fs/private/fsFileStreamPAC.h"

fsFileStream::fsFileStream(const fsLocator& locator, u32 mode)
    : m_body(std::make_unique<fsFileStreamPAC>(locator, mode)) {}

fsFileStream::~fsFileStream() = default;

u32 fsFileStream::Read(u32 count, void* buffer) {
    return m_body->Read(count, buffer);
}

void fsFileStream::Write(u32 count, const void* buffer) {
    m_body->Write(count, buffer);
}

u32 fsFileStream::Seek(i32 offset, u32 origin) {
    return m_body->Seek(offset, origin);
}

u32 fsFileStream::Tell() const {
    return m_body->Tell();
}

const fsLocator& fsFileStream::GetLocator() const {
    return m_body->GetLocator();
}
