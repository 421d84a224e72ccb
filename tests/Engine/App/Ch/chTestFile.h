#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "chTestSample.h"

#include <gtest/gtest.h>
#include <memory>

// Chunk files in a fresh folder: "in" holds the bytes to read, "out" starts empty for a writer.
// The byte-order flag matters to the binary form only.
class chTestFile : public ::testing::Test {
  protected:
    std::unique_ptr<gfFile> Open(const std::string& bytes, u32 byteOrder = gfByteOrderData) {
        return std::make_unique<gfFile>(m_folder.Write("in", bytes), gfFileRead, byteOrder);
    }
    std::unique_ptr<gfFile> Create(u32 byteOrder = gfByteOrderData) {
        return std::make_unique<gfFile>(m_folder.Write("out", ""), gfFileReadWrite, byteOrder);
    }
    std::string Written() const { return m_folder.Read("out"); }

    fsTestFolder m_folder;
};

// Chunk files for a writer of one form: the sample as that writer writes it, and the slots a chunk's
// header is read into.
template <class Writer> class chSampleTest : public chTestFile {
  protected:
    std::string WrittenSample(u32 byteOrder = gfByteOrderData) {
        {
            auto file = Create(byteOrder);
            Writer w(file.get());
            WriteSample(w, MakeSample());
        }
        return Written();
    }
    u32 m_id = 0, m_size = 0;
    u16 m_version = 0;
};
