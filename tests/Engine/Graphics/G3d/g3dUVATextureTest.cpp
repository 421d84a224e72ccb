// Flip-book textures read from ".tuv" files built byte by byte.
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "g3dTextureFixture.h"

#include <cstring>

namespace {

using g2dImageBuilder::Le;
namespace tm = g3dTextureManager;

std::string Chunk(const std::string& id, const std::string& body) {
    return id + Le(static_cast<u32>(body.size())) + Le(1, 2) + body;
}

std::string Udat(i32 frames, i32 columns, i32 rows, f32 rate, u8 loop = 1, u8 pingPong = 0) {
    u32 rateBits = 0;
    std::memcpy(&rateBits, &rate, 4);
    return Chunk("UDAT", Le(static_cast<u32>(frames)) + Le(static_cast<u32>(columns)) +
                             Le(static_cast<u32>(rows)) + Le(rateBits) + static_cast<char>(loop) +
                             static_cast<char>(pingPong));
}

std::string Tpag(const std::string& name) {
    return Chunk("TPAG", name + '\0');
}

std::string Tuv(const std::string& children) {
    return "KSFB" + Le(2) + Chunk("TUVA", children);
}

class g3dUVATextureTest : public g3dTextureFixture {
  protected:
    void SetUp() override {
        g3dTextureFixture::SetUp();
        m_folder.Write("p0.bmp", g2dImageBuilder::Bmp(2, 2, std::vector<u8>(12, 7)));
        m_folder.Write("p1.bmp", g2dImageBuilder::Bmp(4, 2, std::vector<u8>(24, 9)));
    }
    g3dUVATexture* Load(const std::string& bytes) {
        return tm::LoadUVATexture(m_folder.Write("a.tuv", bytes), 0, 0);
    }
};

} // namespace

TEST_F(g3dUVATextureTest, FramesMapToPagesCellsAndTimes) {
    g3dUVATexture* bare = Load(Tuv(""));
    EXPECT_EQ(bare->GetFrameCount(), 1);
    EXPECT_EQ(bare->GetColumns() * bare->GetRows(), 1);
    EXPECT_EQ(bare->GetFramesPerSecond(), 24.0f);
    EXPECT_TRUE(bare->IsLooping());
    EXPECT_EQ(bare->GetPageCount(), 0);
    EXPECT_EQ(bare->GetPageOfFrame(0), nullptr);
    tm::ReleaseTexture(bare);

    for (const std::string& children : {Udat(16, 4, 2, 10.0f) + Tpag("p0.bmp") + Tpag("p1.bmp"),
                                        Tpag("p0.bmp") + Tpag("p1.bmp") + Udat(16, 4, 2, 10.0f)}) {
        g3dUVATexture* book = Load(Tuv(children + Chunk("XTRA", "skipped")));
        ASSERT_EQ(book->GetPageCount(), 2);
        EXPECT_EQ(book->GetWidth(), 2);
        EXPECT_EQ(book->GetPageOfFrame(9), book->GetPage(1));
        EXPECT_EQ(book->GetPageOfFrame(40), book->GetPage(1));
        f32 u = -1.0f, v = -1.0f;
        book->GetCellOffset(9, u, v);
        EXPECT_EQ(u, 0.25f);
        EXPECT_EQ(v, 0.0f);
        book->GetCellOffset(14, u, v);
        EXPECT_EQ(v, 0.5f);
        EXPECT_EQ(book->GetCellWidth(), 0.25f);
        EXPECT_EQ(book->GetCellHeight(), 0.5f);
        tm::ReleaseTexture(book);
    }

    const struct {
        u8 loop;
        f32 time;
        i32 frame;
    } times[] = {{1, 1.05f, 0}, {1, 0.55f, 5}, {0, 5.0f, 9}, {2, 5.0f, 9}, {1, -3.0f, 0}};
    for (const auto& t : times) {
        g3dUVATexture* book = Load(Tuv(Udat(10, 1, 1, 10.0f, t.loop)));
        EXPECT_EQ(book->GetFrameAt(t.time), t.frame) << "loop " << int{t.loop} << " at " << t.time;
        tm::ReleaseTexture(book);
    }
}

TEST_F(g3dUVATextureTest, BadValuesAreMendedAndBadFilesLeaveNothingBehind) {
    // No columns, rows or frames and no rate: one of each at the default rate.
    for (f32 rate :
         {0.0f, -5.0f, std::numeric_limits<f32>::quiet_NaN(), std::numeric_limits<f32>::infinity()}) {
        g3dUVATexture* book = Load(Tuv(Udat(0, 0, -2, rate) + Tpag("p0.bmp")));
        EXPECT_EQ(book->GetFrameCount(), 1);
        EXPECT_EQ(book->GetFramesPerSecond(), 24.0f);
        EXPECT_EQ(book->GetCellWidth() * book->GetCellHeight(), 1.0f);
        EXPECT_EQ(book->GetFrameAt(100.0f), 0);
        EXPECT_EQ(book->GetPageOfFrame(book->GetFrameAt(0.5f)), book->GetPage(0));
        tm::ReleaseTexture(book);
    }
    // A missing page: the pages loaded before it are released (the fixture's end finds the device free).
    EXPECT_THROW(Load(Tuv(Tpag("p0.bmp") + Tpag("missing.bmp"))), fsFileDoesntExistX);
    // A "UDAT" too short for its fields, another first chunk, and every cut of a good file.
    EXPECT_THROW(Load(Tuv(Chunk("UDAT", std::string(17, '\1')) + Tpag("p0.bmp"))), chInvalidChunkX);
    EXPECT_THROW(Load("KSFB" + Le(2) + Chunk("TUVB", "")), chInvalidChunkX);
    const std::string good = Tuv(Tpag("p0.bmp") + Udat(4, 2, 2, 12.0f));
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_ANY_THROW(Load(good.substr(0, length))) << "cut at " << length;
    tm::ReleaseTexture(Load(good));
}
