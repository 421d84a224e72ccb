#include "Source/Track/coTrackChunks.h"

#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Ch/chBinReader.h"
#include "Engine/Core/Ch/chBinWriter.h"
#include "Engine/Core/Ch/chExceptions.h"
#include "Engine/Core/Ch/chTxtReader.h"
#include "Engine/Core/Ch/chTxtWriter.h"
#include "Source/Track/coPlacement.h"
#include "coCircuitTestSupport.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <typeinfo>

namespace {
using coPieces = std::vector<std::unique_ptr<coCoasterPiece>>;

// An independent byte builder for expected files: little-endian values, chunks closed by hand.
class coBytes {
  public:
    coBytes& Id(const char* id) {
        m_bytes.append(id, 4);
        return *this;
    }
    template <class T> coBytes& Le(T value) {
        char raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        m_bytes.append(raw, sizeof(T));
        return *this;
    }
    // A chunk: id, size of the body, version 0, body.
    coBytes& Chunk(const char* id, const std::string& body) {
        Id(id).Le<u32>(static_cast<u32>(body.size())).Le<u16>(0);
        m_bytes += body;
        return *this;
    }
    coBytes& Float(const char* id, float value) { return Chunk(id, coBytes().Le(value).Str()); }
    const std::string& Str() const { return m_bytes; }

  private:
    std::string m_bytes;
};

// The data-file header: magic, byte-order flag 2, version 1.0.0.
std::string Header() {
    return std::string("KSFB\x02\x01\x00\x00", 8);
}

std::vector<const coCoasterPiece*> CircuitPieces() {
    std::vector<const coCoasterPiece*> pieces;
    for (const auto& piece : coCircuitPieces())
        pieces.push_back(piece.get());
    return pieces;
}

std::vector<const coCoasterPiece*> View(const coPieces& pieces) {
    std::vector<const coCoasterPiece*> view;
    for (const auto& piece : pieces)
        view.push_back(piece.get());
    return view;
}

u32 Bits(float value) {
    u32 bits = 0;
    std::memcpy(&bits, &value, 4);
    return bits;
}

// Every stored field of a piece as bit patterns, headed by its class, for bit-exact comparisons.
std::vector<u64> Fields(const coCoasterPiece& p) {
    std::vector<u64> f{typeid(p).hash_code(), Bits(p.GetRoll(0)), Bits(p.GetBaseSlope()),
                       static_cast<u64>(p.GetElement()), static_cast<u64>(p.GetTube())};
    auto put = [&](float value) { f.push_back(Bits(value)); };
    if (const auto* q = dynamic_cast<const coCoasterPieceStraight*>(&p)) {
        put(q->GetRunLength());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceTurn*>(&p)) {
        put(q->GetAngle());
        put(q->GetRadius());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceSTurn*>(&p)) {
        put(q->GetRunLength());
        put(q->GetSlide());
        f.push_back(q->HasEndHeading());
        if (q->HasEndHeading())
            put(q->GetEndHeading());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceLoop*>(&p)) {
        put(q->GetRunLength());
        put(q->GetHeight());
        put(q->GetSlide());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceCorkscrew*>(&p)) {
        put(q->GetRunLength());
        put(q->GetRadius());
        f.push_back(static_cast<u64>(q->GetRevolutions()));
        put(q->GetApproachAngle());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceHalfLoop*>(&p)) {
        put(q->GetHeight());
        put(q->GetRatio());
        f.push_back(q->IsInverted());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceHalfCorkscrew*>(&p)) {
        put(q->GetAngle());
        put(q->GetRadius());
        f.push_back(q->IsDownward());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceUp*>(&p)) {
        put(q->GetAngle());
        put(q->GetRunLength());
        f.push_back(q->IsDown());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceShallowTurn*>(&p)) {
        put(q->GetAngle());
        put(q->GetRunLength());
    } else if (const auto* q = dynamic_cast<const coCoasterPieceCustom*>(&p)) {
        f.push_back(static_cast<u64>(q->GetPointCount()));
        for (int i = 0; i < q->GetPointCount(); ++i) {
            const coCustomPoint& point = q->GetPoint(i);
            for (float value : {point.position.x, point.position.y, point.position.z, point.slope,
                                point.heading, point.tangentScale, point.roll})
                put(value);
        }
    }
    return f;
}

void ExpectSameFields(const std::vector<const coCoasterPiece*>& expected, const coPieces& actual) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Fields(*actual[i]), Fields(*expected[i])) << "piece " << i;
}

// One piece of every class with values that six decimals write exactly, and every flag and option.
coPieces DecimalPieces() {
    coPieces pieces;
    auto add = [&](auto piece, i32 element, i32 tube, float roll, float slope) {
        piece->SetElement(element);
        piece->SetTube(tube);
        piece->SetRoll(roll);
        piece->SetSlope(slope);
        pieces.push_back(std::move(piece));
    };
    auto straight = std::make_unique<coCoasterPieceStraight>();
    straight->SetRunLength(22.5f);
    add(std::move(straight), coElementChainLift, 0, 0.25f, 0.125f);
    auto turn = std::make_unique<coCoasterPieceTurn>();
    turn->SetAngle(-1.25f);
    turn->SetRadius(17.5f);
    add(std::move(turn), coElementBrakes, 1, -0.5f, 0.0f);
    auto sTurn = std::make_unique<coCoasterPieceSTurn>();
    sTurn->SetRunLength(12.25f);
    sTurn->SetSlide(-3.5f);
    EXPECT_TRUE(sTurn->SetEndHeading(0.75f));
    add(std::move(sTurn), coElementBooster, 0, 3.0f, -0.0625f);
    auto loop = std::make_unique<coCoasterPieceLoop>();
    loop->SetRunLength(42.0f);
    loop->SetHeight(36.5f);
    loop->SetSlide(-2.0f);
    add(std::move(loop), coElementRetarder, 0, 0.0f, 0.25f);
    auto corkscrew = std::make_unique<coCoasterPieceCorkscrew>();
    corkscrew->SetRunLength(27.5f);
    corkscrew->SetRadius(7.5f);
    corkscrew->SetRevolutions(-3);
    EXPECT_TRUE(corkscrew->SetApproachAngle(-0.375f));
    add(std::move(corkscrew), coElementNone, 1, 1.5f, 0.0f);
    auto halfLoop = std::make_unique<coCoasterPieceHalfLoop>();
    halfLoop->SetHeight(18.0f);
    halfLoop->SetRatio(0.875f);
    halfLoop->SetInverted(true);
    add(std::move(halfLoop), coElementNone, 0, -3.0f, 0.5f);
    auto halfCorkscrew = std::make_unique<coCoasterPieceHalfCorkscrew>();
    halfCorkscrew->SetRadius(9.5f);
    EXPECT_TRUE(halfCorkscrew->SetAngle(2.5f));
    halfCorkscrew->SetDownward(true);
    add(std::move(halfCorkscrew), coElementChainLift, 0, 0.0f, 0.0f);
    auto up = std::make_unique<coCoasterPieceUp>();
    up->SetRunLength(33.0f);
    EXPECT_TRUE(up->SetAngle(0.625f));
    up->SetDown(true);
    add(std::move(up), coElementNone, 0, 0.0f, -0.25f);
    auto shallowTurn = std::make_unique<coCoasterPieceShallowTurn>();
    shallowTurn->SetAngle(0.0f);
    shallowTurn->SetRunLength(8.0f);
    add(std::move(shallowTurn), coElementNone, 0, 0.0f, 0.0f);
    auto custom = std::make_unique<coCoasterPieceCustom>();
    EXPECT_TRUE(custom->SetPoints(coSampleCustomPoints()));
    add(std::move(custom), coElementBrakes, 1, 0.5f, 0.0f);
    return pieces;
}

// Where a mutation may hit in a saved track: found by walking the chunk tree of the file.
struct coTrackLayout {
    struct Size {
        size_t offset;
        bool container;
        u32 value;
    };
    std::vector<Size> sizes;
    std::vector<size_t> floats;  // every float value
    std::vector<size_t> extents; // lengths, radii, heights, ratios and turn angles
    std::vector<size_t> counts;  // control-point counts
};

bool IsContainer(u32 id) {
    for (u32 container :
         {coChunkPieceList, coChunkStraight, coChunkTurn, coChunkSTurn, coChunkLoop, coChunkCorkscrew,
          coChunkHalfLoop, coChunkHalfCorkscrew, coChunkUp, coChunkShallowTurn, coChunkCustom, coChunkCurve})
        if (id == container)
            return true;
    return false;
}

void WalkChunks(const std::string& bytes, size_t begin, size_t end, u32 parent, coTrackLayout& layout) {
    while (begin + 10 <= end) {
        u32 id = 0;
        u32 size = 0;
        std::memcpy(&id, bytes.data() + begin, 4);
        std::memcpy(&size, bytes.data() + begin + 4, 4);
        const size_t body = begin + 10;
        layout.sizes.push_back({begin + 4, IsContainer(id), size});
        if (IsContainer(id)) {
            WalkChunks(bytes, body, body + size, id, layout);
        } else if (id == coChunkControlPoints) {
            layout.counts.push_back(body);
            for (size_t at = body + 2; at + 4 <= body + size; at += 4)
                layout.floats.push_back(at);
        } else if (size == 4 && id != coChunkRevolutions) {
            layout.floats.push_back(body);
            const bool turnAngle = id == coChunkAngle && parent == coChunkTurn;
            if (id == coChunkLength || id == coChunkRadius || id == coChunkHeight || id == coChunkRatio ||
                turnAngle)
                layout.extents.push_back(body);
        }
        begin = body + size;
    }
}

bool IsFinite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Pieces that were read, chained as a loader chains them: every end, length and frame finite.
void ExpectFiniteShapes(const coPieces& pieces, const std::string& what) {
    coCoasterPiece* previous = nullptr;
    for (const auto& piece : pieces) {
        piece->Connect(previous);
        previous = piece.get();
        ASSERT_TRUE(std::isfinite(piece->GetLength()) && IsFinite(piece->GetEnd()) &&
                    std::isfinite(piece->GetEndHeading()))
            << what;
        for (float s : {0.0f, 0.5f, 1.0f}) {
            EXPECT_TRUE(IsFinite(piece->PointAt(s))) << what;
            for (float element : piece->FrameAt(s).m)
                EXPECT_TRUE(std::isfinite(element)) << what;
        }
    }
}

class coTrackChunksTest : public coCircuitFixture {
  protected:
    std::string WriteBinary(const std::vector<const coCoasterPiece*>& pieces) {
        m_folder.Write("out.bin", "");
        {
            gfFile file(m_folder.Locator("out.bin"), 1, 2);
            const u8 version[4] = {0, 1, 0, 0};
            file.WriteBinHeader(version);
            chBinWriter writer(&file);
            coWriteCoasterPieces(writer, pieces);
        }
        return m_folder.Read("out.bin");
    }
    std::string WriteText(const std::vector<const coCoasterPiece*>& pieces) {
        m_folder.Write("out.txt", "");
        {
            gfFile file(m_folder.Locator("out.txt"), 1);
            chTxtWriter writer(&file);
            coWriteCoasterPieces(writer, pieces);
        }
        return m_folder.Read("out.txt");
    }

    // The pieces of the file's piece list (a file that holds none gives none).
    coPieces ReadBinary(const std::string& bytes) {
        m_folder.Write("in.bin", bytes);
        gfFile file(m_folder.Locator("in.bin"), 0, 2);
        file.ReadBinHeader(nullptr);
        chBinReader reader(&file);
        return ReadList(reader);
    }
    coPieces ReadText(const std::string& text) {
        m_folder.Write("in.txt", text);
        gfFile file(m_folder.Locator("in.txt"), 0);
        chTxtReader reader(&file);
        return ReadList(reader);
    }
    static coPieces ReadList(chReader& reader) {
        coPieces pieces;
        u32 id = 0;
        u16 version = 0;
        u32 size = 0;
        if (reader.BeginChunk(&id, &version, &size)) {
            EXPECT_EQ(id, coChunkPieceList);
            coReadCoasterPieces(reader, version, size, pieces);
            reader.EndChunk();
        }
        return pieces;
    }

    // A file holding one piece list with the given chunks.
    static std::string ListFile(const std::string& pieceChunks) {
        return Header() + coBytes().Chunk("CPLS", pieceChunks).Str();
    }
    void ExpectRefused(const std::string& pieceChunks, const char* what) {
        EXPECT_THROW(ReadBinary(ListFile(pieceChunks)), chInvalidChunkX) << what;
    }

    // Loads a saved track the way a loader does: read the whole list, then replace the circuit.
    void Load(const std::string& bytes) { coCircuitRebuildFromList(ReadBinary(bytes)); }

    // Every mutation of the saved circuit must be refused, and the circuit left exactly as it was.
    void SweepMutants(const std::string& saved) {
        const auto poses = coCircuitPoses();
        const int count = coCircuitPieceCount();
        int mutants = 0;
        auto expectRefused = [&](const std::string& mutant, const std::string& what) {
            ++mutants;
            EXPECT_THROW(Load(mutant), chInvalidChunkX) << what;
        };
        for (size_t cut = Header().size() + 1; cut < saved.size(); ++cut)
            expectRefused(saved.substr(0, cut), "cut at " + std::to_string(cut));

        coTrackLayout layout;
        WalkChunks(saved, Header().size(), saved.size(), 0, layout);
        auto patch = [&](size_t at, auto value) {
            std::string mutant = saved;
            std::memcpy(mutant.data() + at, &value, sizeof(value));
            return mutant;
        };
        for (const auto& size : layout.sizes) {
            for (u32 value : {0xFFFFFFFFu, 0u, 32767u, 0x7FFFFFFFu}) {
                // An empty container is a legal chunk; a value equal to the old one is no mutant.
                if ((value == 0 && size.container) || value == size.value)
                    continue;
                expectRefused(patch(size.offset, value),
                              "size " + std::to_string(value) + " at " + std::to_string(size.offset));
            }
        }
        for (size_t at : layout.counts)
            for (i16 value : {i16{-1}, i16{0}, i16{32767}})
                expectRefused(patch(at, value), "count " + std::to_string(value));
        for (size_t at : layout.floats)
            for (float value :
                 {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                  -std::numeric_limits<float>::infinity()})
                expectRefused(patch(at, value), "float at " + std::to_string(at));
        for (size_t at : layout.extents)
            expectRefused(patch(at, 0.0f), "zero extent at " + std::to_string(at));
        // Huge but finite values: the file is refused, or every piece it gives keeps a finite shape.
        int hugeRefused = 0;
        for (size_t at : layout.floats) {
            for (float value : {1e30f, 3e38f, -3e38f}) {
                const std::string what = "huge float " + std::to_string(value) + " at " + std::to_string(at);
                coPieces read;
                try {
                    read = ReadBinary(patch(at, value));
                } catch (const chInvalidChunkX&) {
                    ++hugeRefused;
                    continue;
                }
                ExpectFiniteShapes(read, what);
            }
        }
        EXPECT_GE(hugeRefused, 2 * static_cast<int>(layout.extents.size()));

        EXPECT_GT(mutants, static_cast<int>(saved.size()));
        ASSERT_EQ(coCircuitPieceCount(), count);
        EXPECT_TRUE(coCircuitPoses() == poses);
        // The unchanged file still loads.
        Load(saved);
        EXPECT_EQ(coCircuitPieceCount(), count);
    }

    fsTestFolder m_folder;
};

TEST_F(coTrackChunksTest, ALevelStraightOfTwentyWritesExactlyTheseBytes) {
    coCoasterPieceStraight straight;
    straight.SetRunLength(20.0f);
    straight.Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
    const std::string fields = coBytes()
                                   .Float("TWST", 0.0f)
                                   .Float("ELEV", 0.0f)
                                   .Id("LENG")
                                   .Le<u32>(4)
                                   .Le<u16>(0)
                                   .Le<u8>(0x00)
                                   .Le<u8>(0x00)
                                   .Le<u8>(0xA0)
                                   .Le<u8>(0x41)
                                   .Str();
    const std::string expected = ListFile(coBytes().Chunk("CPSR", fields).Str());
    ASSERT_EQ(expected.size(), 8u + 10u + 52u);
    ASSERT_EQ(expected.substr(8 + 4, 4), std::string("\x34\x00\x00\x00", 4));
    ASSERT_EQ(expected.substr(18 + 4, 4), std::string("\x2A\x00\x00\x00", 4));
    EXPECT_EQ(WriteBinary({&straight}), expected);

    const coPieces read = ReadBinary(expected);
    ExpectSameFields({&straight}, read);

    EXPECT_EQ(WriteText({&straight}),
              "CPLS\r\n{\r\n\tCPSR\r\n\t{\r\n\t\tTWST 0.000000 \r\n\t\tELEV 0.000000 \r\n"
              "\t\tLENG 20.000000 \r\n\r\n\t}\r\n\r\n}\r\n");
}

TEST_F(coTrackChunksTest, EveryPieceClassRoundTripsBitExactlyInBinary) {
    coBuildEveryClass();
    const std::string saved = WriteBinary(CircuitPieces());
    const coPieces read = ReadBinary(saved);
    ExpectSameFields(CircuitPieces(), read);
    EXPECT_EQ(WriteBinary(View(read)), saved);

    const coPieces decimals = DecimalPieces();
    const coPieces again = ReadBinary(WriteBinary(View(decimals)));
    ExpectSameFields(View(decimals), again);
}

TEST_F(coTrackChunksTest, EveryPieceClassRoundTripsBitExactlyInText) {
    const coPieces decimals = DecimalPieces();
    const std::string text = WriteText(View(decimals));
    const coPieces read = ReadText(text);
    ExpectSameFields(View(decimals), read);
    EXPECT_EQ(WriteText(View(read)), text);

    // Six decimals hold every value of the text form: the default Turn's pi/2 comes back to 1e-6.
    const coCoasterPieceTurn defaultTurn;
    const coPieces turn = ReadText(WriteText({&defaultTurn}));
    ASSERT_EQ(turn.size(), 1u);
    EXPECT_NEAR(static_cast<const coCoasterPieceTurn&>(*turn[0]).GetAngle(), maHalfPiF, 1e-6f);
}

TEST_F(coTrackChunksTest, OptionalChunksAreWrittenOnlyForValuesOtherThanTheirDefaults) {
    auto contains = [](const std::string& bytes, const char* id) {
        return bytes.find(id) != std::string::npos;
    };
    coCoasterPieceStraight plain;
    coCoasterPieceCorkscrew corkscrew;
    coCoasterPieceSTurn sTurn;
    coCoasterPieceHalfLoop halfLoop;
    coCoasterPieceHalfCorkscrew halfCorkscrew;
    coCoasterPieceUp up;
    const std::string bytes = WriteBinary({&plain, &corkscrew, &sTurn, &halfLoop, &halfCorkscrew, &up});
    for (const char* id : {"CHAI", "BRAK", "BOOS", "RTRD", "TUBE", "REVS", "ENDR", "INVT"})
        EXPECT_FALSE(contains(bytes, id)) << id;
    const coPieces read = ReadBinary(bytes);
    ASSERT_EQ(read.size(), 6u);
    EXPECT_EQ(static_cast<const coCoasterPieceCorkscrew&>(*read[1]).GetRevolutions(), 1);
    EXPECT_FALSE(static_cast<const coCoasterPieceSTurn&>(*read[2]).HasEndHeading());

    ASSERT_TRUE(sTurn.SetEndHeading(1.0f));
    corkscrew.SetRevolutions(2);
    plain.SetTube(1);
    plain.SetElement(coElementRetarder);
    const std::string options = WriteBinary({&plain, &corkscrew, &sTurn});
    for (const char* id : {"RTRD", "TUBE", "REVS", "ENDR"})
        EXPECT_TRUE(contains(options, id)) << id;
    const coPieces withOptions = ReadBinary(options);
    ExpectSameFields({&plain, &corkscrew, &sTurn}, withOptions);
    EXPECT_TRUE(static_cast<const coCoasterPieceSTurn&>(*withOptions[2]).HasEndHeading());
}

TEST_F(coTrackChunksTest, ControlPointsKeepTheirCrossedAttributeOrder) {
    coCoasterPieceCustom custom;
    std::vector<coCustomPoint> points(2);
    points[1].position = maVector3d(1.0f, 2.0f, 3.0f);
    points[1].slope = 4.0f;
    points[1].heading = 5.0f;
    points[1].tangentScale = 6.0f;
    points[1].roll = 7.0f;
    ASSERT_TRUE(custom.SetPoints(points));
    const std::string bytes = WriteBinary({&custom});
    const size_t at = bytes.find("CPTS");
    ASSERT_NE(at, std::string::npos);
    const std::string record = coBytes().Le(1.0f).Le(2.0f).Le(3.0f).Le(4.0f).Le(5.0f).Le(7.0f).Le(6.0f).Str();
    EXPECT_EQ(bytes.substr(at + 10, 2), std::string("\x02\x00", 2));
    EXPECT_EQ(bytes.substr(at + 12 + 28, 28), record);
    ExpectSameFields({&custom}, ReadBinary(bytes));
}

TEST_F(coTrackChunksTest, MissingAndUnknownChunksLeaveTheDefaults) {
    const coPieces read = ReadBinary(
        ListFile(coBytes()
                     .Chunk("CPTU", coBytes().Float("TWST", 0.5f).Str())
                     .Chunk("XXXX", coBytes().Float("LENG", 1.0f).Str())
                     .Chunk("CPSR", coBytes().Chunk("CHAI", "").Chunk("NOPE", "abc").Chunk("TUBE", "").Str())
                     .Chunk("CPSR", coBytes().Chunk("BRAK", "").Str())
                     .Chunk("CPSR", coBytes().Chunk("BOOS", "").Str())
                     .Chunk("CPSH", coBytes().Chunk("RTRD", "").Float("ANGL", 0.0f).Str())
                     .Str()));
    ASSERT_EQ(read.size(), 5u);
    const auto& turn = static_cast<const coCoasterPieceTurn&>(*read[0]);
    EXPECT_EQ(turn.GetRoll(0), 0.5f);
    EXPECT_EQ(turn.GetAngle(), coCoasterPieceTurn().GetAngle());
    EXPECT_EQ(turn.GetAngle(), 1.5707964f);
    EXPECT_EQ(turn.GetRadius(), 15.0f);
    EXPECT_EQ(turn.GetBaseSlope(), 0.0f);
    EXPECT_EQ(turn.GetElement(), coElementNone);
    EXPECT_EQ(read[1]->GetElement(), coElementChainLift);
    EXPECT_EQ(read[1]->GetTube(), 1);
    EXPECT_EQ(static_cast<const coCoasterPieceStraight&>(*read[1]).GetRunLength(), 10.0f);
    EXPECT_EQ(read[2]->GetElement(), coElementBrakes);
    EXPECT_EQ(read[3]->GetElement(), coElementBooster);
    // A shallow turn through no angle is a straight piece, not a malformed one.
    EXPECT_EQ(read[4]->GetElement(), coElementRetarder);
    EXPECT_EQ(static_cast<const coCoasterPieceShallowTurn&>(*read[4]).GetAngle(), 0.0f);

    EXPECT_TRUE(ReadBinary(ListFile("")).empty());
    EXPECT_TRUE(ReadText("CPLS\r\n{\r\n}\r\n").empty());
}

TEST_F(coTrackChunksTest, MalformedFieldsAreRefusedAndAppendNothing) {
    const std::string good = coBytes().Chunk("CPSR", coBytes().Float("LENG", 20.0f).Str()).Str();
    auto straight = [&](const std::string& fields) { return good + coBytes().Chunk("CPSR", fields).Str(); };
    ExpectRefused(straight(coBytes().Chunk("LENG", "").Str()), "empty LENG");
    ExpectRefused(straight(coBytes().Chunk("LENG", "ab").Str()), "short LENG");
    ExpectRefused(straight(coBytes().Chunk("TWST", "").Float("LENG", 20.0f).Str()), "empty TWST");
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 0.0f, -5.0f})
        ExpectRefused(straight(coBytes().Float("LENG", bad).Str()), "length");
    ExpectRefused(straight(coBytes().Float("ELEV", std::numeric_limits<float>::infinity()).Str()), "slope");
    ExpectRefused(straight(coBytes().Float("TWST", std::numeric_limits<float>::quiet_NaN()).Str()), "roll");
    ExpectRefused(coBytes().Chunk("CPTU", coBytes().Float("ANGL", 0.0f).Str()).Str(), "turn angle 0");
    ExpectRefused(coBytes().Chunk("CPTU", coBytes().Float("RADI", 0.0f).Str()).Str(), "radius");
    ExpectRefused(coBytes().Chunk("CPLP", coBytes().Float("HEIG", -1.0f).Str()).Str(), "height");
    ExpectRefused(coBytes().Chunk("CPHL", coBytes().Float("ALEN", 0.0f).Str()).Str(), "ratio");
    ExpectRefused(
        coBytes().Chunk("CPCO", coBytes().Float("AANG", std::numeric_limits<float>::infinity()).Str()).Str(),
        "approach angle");
    ExpectRefused(coBytes().Chunk("CPCO", coBytes().Chunk("REVS", "ab").Str()).Str(), "short REVS");
    // A child that runs past its piece.
    ExpectRefused(coBytes().Id("CPSR").Le<u32>(4).Le<u16>(0).Float("LENG", 20.0f).Str(), "child past parent");

    // Custom pieces: the control points must be there, at least two, within the chunk and finite.
    auto custom = [](i16 count, int records, float value = 1.0f) {
        coBytes points;
        points.Le(count);
        for (int i = 0; i < records * 7; ++i)
            points.Le(value);
        return coBytes()
            .Chunk("CPCU", coBytes().Chunk("CURV", coBytes().Chunk("CPTS", points.Str()).Str()).Str())
            .Str();
    };
    EXPECT_EQ(ReadBinary(ListFile(custom(2, 2))).size(), 1u);
    ExpectRefused(custom(-1, 0), "negative count");
    ExpectRefused(custom(0, 0), "no points");
    ExpectRefused(custom(1, 1), "one point");
    ExpectRefused(custom(3, 2), "count past the chunk");
    ExpectRefused(custom(32767, 2), "huge count");
    ExpectRefused(custom(2, 2, std::numeric_limits<float>::quiet_NaN()), "point not finite");
    ExpectRefused(coBytes().Chunk("CPCU", "").Str(), "no curve");
    ExpectRefused(coBytes().Chunk("CPCU", coBytes().Chunk("CURV", "").Str()).Str(), "empty curve");

    // Nothing read before the fault reaches the caller's list; what it held stays.
    coPieces pieces;
    pieces.push_back(std::make_unique<coCoasterPieceTurn>());
    m_folder.Write("bad.bin", ListFile(straight(coBytes().Float("LENG", 0.0f).Str())));
    gfFile file(m_folder.Locator("bad.bin"), 0, 2);
    file.ReadBinHeader(nullptr);
    chBinReader reader(&file);
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    ASSERT_TRUE(reader.BeginChunk(&id, &version, &size));
    EXPECT_THROW(coReadCoasterPieces(reader, version, size, pieces), chInvalidChunkX);
    EXPECT_EQ(pieces.size(), 1u);
}

TEST_F(coTrackChunksTest, TextFilesReadWithTheSameChecks) {
    EXPECT_THROW(ReadText("CPLS\r\n{\r\n\tCPSR\r\n\t{\r\n\t\tLENG 0.000000 \r\n\t}\r\n}\r\n"),
                 chInvalidChunkX);
    EXPECT_THROW(
        ReadText(
            "CPLS\r\n{\r\n\tCPCU\r\n\t{\r\n\t\tCURV\r\n\t\t{\r\n\t\t\tCPTS -1 \r\n\t\t}\r\n\t}\r\n}\r\n"),
        chInvalidChunkX);
    EXPECT_THROW(ReadText("CPLS\r\n{\r\n\tCPTU\r\n\t{\r\n\t\tRADI -3 \r\n\t}\r\n}\r\n"), chInvalidChunkX);
    // Hand-written text: values with fewer decimals, presence chunks on a line of their own.
    const coPieces read = ReadText(
        "CPLS\r\n{\r\n\tCPSR\r\n\t{\r\n\t\tLENG 12.5 \r\n\t}\r\n\tCPSU\r\n\t{\r\n\t\tINVT \r\n\t}\r\n}\r\n");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(static_cast<const coCoasterPieceStraight&>(*read[0]).GetRunLength(), 12.5f);
    EXPECT_TRUE(static_cast<const coCoasterPieceUp&>(*read[1]).IsDown());
}

// The text form carries no sizes: a control-point count above the records present must not read on
// into the pieces that follow.
TEST_F(coTrackChunksTest, ATextCountAboveItsRecordsIsRefusedAndLeavesTheCircuit) {
    coBuildR1();
    const auto poses = coCircuitPoses();
    coCoasterPieceCustom custom;
    ASSERT_TRUE(custom.SetPoints(coSampleCustomPoints()));
    coCoasterPieceStraight after;
    const std::string text = WriteText({&custom, &after, &after});
    const size_t count = text.find("CPTS 3 ");
    ASSERT_NE(count, std::string::npos) << text;
    ASSERT_EQ(ReadText(text).size(), 3u);
    for (const char* larger : {"CPTS 4 ", "CPTS 5 ", "CPTS 32767 "}) {
        const std::string mutant = text.substr(0, count) + larger + text.substr(count + 7);
        EXPECT_THROW(coCircuitRebuildFromList(ReadText(mutant)), chInvalidChunkX) << larger;
    }
    EXPECT_TRUE(coCircuitPoses() == poses);
}

// Values that pass as finite numbers but give a piece no finite shape are a malformed file.
TEST_F(coTrackChunksTest, PiecesWithoutAFiniteShapeAreRefusedAndLeaveTheCircuit) {
    coBuildR1();
    const auto poses = coCircuitPoses();
    const std::string good = coBytes().Chunk("CPSR", coBytes().Float("LENG", 20.0f).Str()).Str();
    auto piece = [](const char* id, const char* field, float value) {
        return coBytes().Chunk(id, coBytes().Float(field, value).Str()).Str();
    };
    const std::string absurd[] = {
        piece("CPSR", "LENG", 1e38f),  piece("CPSR", "LENG", 3e38f), piece("CPHL", "ALEN", 1e30f),
        piece("CPTU", "RADI", 1e30f),  piece("CPLP", "HEIG", 3e38f), piece("CPCO", "RADI", 1e30f),
        piece("CPST", "SLID", -3e38f), piece("CPSH", "LENG", 3e38f), piece("CPHC", "RADI", 1e30f),
        piece("CPSU", "LENG", 1e30f),
    };
    for (const std::string& bad : absurd)
        EXPECT_THROW(Load(ListFile(good + bad + good)), chInvalidChunkX) << bad.substr(0, 4);
    EXPECT_THROW(coCircuitRebuildFromList(ReadText("CPLS\r\n{\r\n\tCPTU\r\n\t{\r\n\t\tRADI 1e30 "
                                                   "\r\n\t}\r\n}\r\n")),
                 chInvalidChunkX);
    EXPECT_TRUE(coCircuitPoses() == poses);
}

TEST_F(coTrackChunksTest, ASavedR1LoadsBackAndClosesAgain) {
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    const std::string saved = WriteBinary(CircuitPieces());
    const auto poses = coCircuitPoses();
    Load(saved);
    ASSERT_EQ(coCircuitPieceCount(), 8);
    EXPECT_EQ(coCircuitFirstPiece()->GetStart().x, park.startPosition.x);
    EXPECT_TRUE(coCircuitEndMeetsStart());
    EXPECT_TRUE(coCircuitTryClose());
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_LT(coCircuitGap(), 1e-4f);
    // The same track, moved to the start position.
    const maVector3d shift = coCircuitFirstPiece()->GetStart() - poses[0].start;
    for (size_t i = 0; i < poses.size(); ++i) {
        const maVector3d end = coCircuitPieceAt(static_cast<int>(i))->GetEnd() - shift;
        EXPECT_NEAR(end.x, poses[i].end.x, 1e-3f);
        EXPECT_NEAR(end.y, poses[i].end.y, 1e-3f);
        EXPECT_NEAR(end.z, poses[i].end.z, 1e-3f);
    }
}

TEST_F(coTrackChunksTest, MutantsOfTheReferenceCircuitsAreRefusedAndLeaveTheCircuit) {
    // R1, a figure of eight with a crossing and a hill climb with a loop and a corkscrew, closed; and an
    // open circuit of every class.
    for (void (*build)() : {+[] { coBuildR1(); }, coBuildFigureEight, coBuildHillClimb, coBuildEveryClass}) {
        coCircuitClear();
        build();
        const bool open = build == coBuildEveryClass;
        EXPECT_EQ(coCircuitEndMeetsStart(), !open);
        if (!open) {
            ASSERT_TRUE(coCircuitTryClose());
            EXPECT_TRUE(coCircuitIsClosed());
        }
        SweepMutants(WriteBinary(CircuitPieces()));
        // Loaded back after the sweep, a closed circuit closes again.
        EXPECT_EQ(coCircuitTryClose(), !open);
    }
}
} // namespace
