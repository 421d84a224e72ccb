#include "Source/Track/coTrackChunks.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chTxtReader.h"
#include "Engine/App/Ch/chTxtWriter.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "Source/Track/coTrackTestSupport.h"

#include <limits>
#include <tuple>
#include <typeinfo>

namespace {
using coPieces = std::vector<std::unique_ptr<coCoasterPiece>>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

template <class List> std::vector<const coCoasterPiece*> View(const List& pieces) {
    std::vector<const coCoasterPiece*> view;
    for (const auto& piece : pieces)
        view.push_back(piece.get());
    return view;
}

u64 Bits(float value) {
    u32 bits = 0;
    std::memcpy(&bits, &value, 4);
    return bits;
}

// Every stored field of a piece as bit patterns, headed by its class, for bit-exact comparisons.
std::vector<u64> Fields(const coCoasterPiece& p) {
    std::vector<u64> f{typeid(p).hash_code(), Bits(p.GetRoll(0)), Bits(p.GetBaseSlope()),
                       static_cast<u64>(p.GetElement()), static_cast<u64>(p.GetTube())};
    auto put = [&](std::initializer_list<float> values) {
        for (float value : values)
            f.push_back(Bits(value));
    };
    if (const auto* q = dynamic_cast<const coCoasterPieceStraight*>(&p)) {
        put({q->GetRunLength()});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceTurn*>(&p)) {
        put({q->GetAngle(), q->GetRadius()});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceSTurn*>(&p)) {
        put({q->GetRunLength(), q->GetSlide(), q->HasEndHeading() ? q->GetEndHeading() : kNaN});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceLoop*>(&p)) {
        put({q->GetRunLength(), q->GetHeight(), q->GetSlide()});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceCorkscrew*>(&p)) {
        put({q->GetRunLength(), q->GetRadius(), static_cast<float>(q->GetRevolutions()),
             q->GetApproachAngle()});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceHalfLoop*>(&p)) {
        put({q->GetHeight(), q->GetRatio(), static_cast<float>(q->IsInverted())});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceHalfCorkscrew*>(&p)) {
        put({q->GetAngle(), q->GetRadius(), static_cast<float>(q->IsDownward())});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceUp*>(&p)) {
        put({q->GetAngle(), q->GetRunLength(), static_cast<float>(q->IsDown())});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceShallowTurn*>(&p)) {
        put({q->GetAngle(), q->GetRunLength()});
    } else if (const auto* q = dynamic_cast<const coCoasterPieceCustom*>(&p)) {
        for (int i = 0; i < q->GetPointCount(); ++i) {
            const coCustomPoint& c = q->GetPoint(i);
            put({c.position.x, c.position.y, c.position.z, c.slope, c.heading, c.tangentScale, c.roll});
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
    auto add = [&](auto piece, i32 element, i32 tube, float roll, float slope, auto setup) {
        setup(*piece);
        piece->SetElement(element);
        piece->SetTube(tube);
        piece->SetRoll(roll);
        piece->SetSlope(slope);
        pieces.push_back(std::move(piece));
    };
    add(std::make_unique<coCoasterPieceStraight>(), coElementChainLift, 0, 0.25f, 0.125f,
        [](auto& p) { p.SetRunLength(22.5f); });
    add(std::make_unique<coCoasterPieceTurn>(), coElementBrakes, 1, -0.5f, 0.0f, [](auto& p) {
        p.SetAngle(-1.25f);
        p.SetRadius(17.5f);
    });
    add(std::make_unique<coCoasterPieceSTurn>(), coElementBooster, 0, 3.0f, -0.0625f, [](auto& p) {
        p.SetRunLength(12.25f);
        p.SetSlide(-3.5f);
        EXPECT_TRUE(p.SetEndHeading(0.75f));
    });
    add(std::make_unique<coCoasterPieceLoop>(), coElementRetarder, 0, 0.0f, 0.25f, [](auto& p) {
        p.SetRunLength(42.0f);
        p.SetHeight(36.5f);
        p.SetSlide(-2.0f);
    });
    add(std::make_unique<coCoasterPieceCorkscrew>(), coElementNone, 1, 1.5f, 0.0f, [](auto& p) {
        p.SetRunLength(27.5f);
        p.SetRadius(7.5f);
        p.SetRevolutions(-3);
        EXPECT_TRUE(p.SetApproachAngle(-0.375f));
    });
    add(std::make_unique<coCoasterPieceHalfLoop>(), coElementNone, 0, -3.0f, 0.5f, [](auto& p) {
        p.SetHeight(18.0f);
        p.SetRatio(0.875f);
        p.SetInverted(true);
    });
    add(std::make_unique<coCoasterPieceHalfCorkscrew>(), coElementChainLift, 0, 0.0f, 0.0f, [](auto& p) {
        p.SetRadius(9.5f);
        EXPECT_TRUE(p.SetAngle(2.5f));
        p.SetDownward(true);
    });
    add(std::make_unique<coCoasterPieceUp>(), coElementNone, 0, 0.0f, -0.25f, [](auto& p) {
        p.SetRunLength(33.0f);
        EXPECT_TRUE(p.SetAngle(0.625f));
        p.SetDown(true);
    });
    add(std::make_unique<coCoasterPieceShallowTurn>(), coElementNone, 0, 0.0f, 0.0f, [](auto& p) {
        p.SetAngle(0.0f);
        p.SetRunLength(8.0f);
    });
    add(std::make_unique<coCoasterPieceCustom>(), coElementBrakes, 1, 0.5f, 0.0f,
        [](auto& p) { EXPECT_TRUE(p.SetPoints(coSampleCustomPoints())); });
    return pieces;
}

// Pieces that were read, chained as a loader chains them: every end, length and frame finite.
void ExpectFiniteShapes(const coPieces& pieces, const std::string& what) {
    coCoasterPiece* previous = nullptr;
    for (const auto& piece : pieces) {
        piece->Connect(previous);
        previous = piece.get();
        ASSERT_TRUE(std::isfinite(piece->GetLength()) && coIsFinite(piece->GetEnd()) &&
                    std::isfinite(piece->GetEndHeading()))
            << what;
        ExpectFiniteFrames(*piece, 2);
    }
}

class coTrackChunksTest : public coCircuitFixture {
  protected:
    std::string WriteBinary(const std::vector<const coCoasterPiece*>& pieces) {
        m_folder.Write("out.bin", "");
        {
            gfFile file(m_folder.Locator("out.bin"), gfFileWrite, gfByteOrderData);
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
            gfFile file(m_folder.Locator("out.txt"), gfFileWrite);
            chTxtWriter writer(&file);
            coWriteCoasterPieces(writer, pieces);
        }
        return m_folder.Read("out.txt");
    }

    // The pieces of the file's piece list (a file that holds none gives none), added to `pieces`.
    void ReadInto(const std::string& bytes, coPieces& pieces) {
        gfFile file(m_folder.Write("in.bin", bytes), gfFileRead, gfByteOrderData);
        file.ReadBinHeader(nullptr);
        chBinReader reader(&file);
        ReadList(reader, pieces);
    }
    coPieces ReadBinary(const std::string& bytes) {
        coPieces pieces;
        ReadInto(bytes, pieces);
        return pieces;
    }
    coPieces ReadText(const std::string& text) {
        gfFile file(m_folder.Write("in.txt", text), gfFileRead);
        chTxtReader reader(&file);
        coPieces pieces;
        ReadList(reader, pieces);
        return pieces;
    }
    static void ReadList(chReader& reader, coPieces& pieces) {
        u32 id = 0, size = 0;
        u16 version = 0;
        if (reader.BeginChunk(&id, &version, &size)) {
            EXPECT_EQ(id, coChunkPieceList);
            coReadCoasterPieces(reader, version, size, pieces);
            reader.EndChunk();
        }
    }

    // A file holding one piece list with the given chunks.
    static std::string ListFile(const std::string& pieceChunks) {
        coByteBuilder file;
        file.Header();
        return file.bytes + coChunkBytes("CPLS", pieceChunks);
    }
    // Loads a saved track the way a loader does: read the whole list, then replace the circuit.
    void Load(const std::string& bytes) { coCircuitRebuildFromList(ReadBinary(bytes)); }

    // Every mutation of the saved circuit must be refused, and the circuit left exactly as it was.
    void SweepMutants(const std::string& saved) {
        const auto poses = coCircuitPoses();
        int mutants = 0, hugeRefused = 0, extents = 0;
        auto expectRefused = [&](const std::string& mutant, const std::string& what) {
            ++mutants;
            EXPECT_THROW(Load(mutant), chInvalidChunkX) << what;
        };
        for (size_t cut = 9; cut < saved.size(); ++cut)
            expectRefused(saved.substr(0, cut), "cut at " + std::to_string(cut));
        for (const coChunkAt& chunk : coChunksOf(saved)) {
            const std::string at = chunk.id + " at " + std::to_string(chunk.offset);
            // An empty container is a legal chunk; a value equal to the old one is no mutant.
            for (u32 value : {0xFFFFFFFFu, 0u, 32767u, 0x7FFFFFFFu})
                if (!(value == 0 && chunk.container) && value != chunk.size)
                    expectRefused(coPatched(saved, chunk.offset + 4, value),
                                  at + " size " + std::to_string(value));
            if (chunk.id == "CPTS")
                for (i16 value : {i16{-1}, i16{0}, i16{32767}})
                    expectRefused(coPatched(saved, chunk.Body(), value),
                                  at + " count " + std::to_string(value));
            // Lengths, radii, heights, ratios and turn angles must also be positive (not 0).
            const bool extent = chunk.id == "LENG" || chunk.id == "RADI" || chunk.id == "HEIG" ||
                                chunk.id == "ALEN" || (chunk.id == "ANGL" && chunk.parent == "CPTU");
            extents += extent;
            for (size_t offset : coPieceFloatsAt(chunk)) {
                for (float value : {kNaN, kInf, -kInf})
                    expectRefused(coPatched(saved, offset, value), at + " float " + std::to_string(value));
                if (extent)
                    expectRefused(coPatched(saved, offset, 0.0f), at + " zero extent");
                // Huge but finite values: the file is refused, or every piece it gives keeps a finite shape.
                for (float value : {1e30f, 3e38f, -3e38f}) {
                    try {
                        ExpectFiniteShapes(ReadBinary(coPatched(saved, offset, value)),
                                           at + std::to_string(value));
                    } catch (const chInvalidChunkX&) {
                        ++hugeRefused;
                    }
                }
            }
        }
        EXPECT_GE(hugeRefused, 2 * extents);
        EXPECT_GT(mutants, static_cast<int>(saved.size()));
        EXPECT_TRUE(coCircuitPoses() == poses);
        // The unchanged file still loads.
        Load(saved);
        EXPECT_EQ(coCircuitPoses().size(), poses.size());
    }

    fsTestFolder m_folder;
};

TEST_F(coTrackChunksTest, ALevelStraightOfTwentyWritesExactlyTheseBytes) {
    coCoasterPieceStraight straight;
    straight.SetRunLength(20.0f);
    straight.Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
    const std::string leng =
        std::string("LENG\x04\x00\x00\x00\x00\x00", 10) + std::string("\x00\x00\xA0\x41", 4);
    const std::string expected =
        ListFile(coChunkBytes("CPSR", coFloatChunk("TWST", 0.0f) + coFloatChunk("ELEV", 0.0f) + leng));
    ASSERT_EQ(expected.substr(8 + 4, 4), std::string("\x34\x00\x00\x00", 4));  // CPLS 52
    ASSERT_EQ(expected.substr(18 + 4, 4), std::string("\x2A\x00\x00\x00", 4)); // CPSR 42
    EXPECT_EQ(WriteBinary({&straight}), expected);
    ExpectSameFields({&straight}, ReadBinary(expected));
    EXPECT_EQ(WriteText({&straight}),
              "CPLS\r\n{\r\n\tCPSR\r\n\t{\r\n\t\tTWST 0.000000 \r\n\t\tELEV 0.000000 \r\n"
              "\t\tLENG 20.000000 \r\n\r\n\t}\r\n\r\n}\r\n");
}

TEST_F(coTrackChunksTest, EveryPieceClassRoundTripsBitExactlyInBinaryAndText) {
    coBuildEveryClass();
    const std::string saved = WriteBinary(View(coCircuitPieces()));
    const coPieces read = ReadBinary(saved);
    ExpectSameFields(View(coCircuitPieces()), read);
    EXPECT_EQ(WriteBinary(View(read)), saved);

    const coPieces decimals = DecimalPieces();
    ExpectSameFields(View(decimals), ReadBinary(WriteBinary(View(decimals))));
    const std::string text = WriteText(View(decimals));
    const coPieces fromText = ReadText(text);
    ExpectSameFields(View(decimals), fromText);
    EXPECT_EQ(WriteText(View(fromText)), text);
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
    ExpectSameFields({&plain, &corkscrew, &sTurn, &halfLoop, &halfCorkscrew, &up}, ReadBinary(bytes));

    ASSERT_TRUE(sTurn.SetEndHeading(1.0f));
    corkscrew.SetRevolutions(2);
    plain.SetTube(1);
    plain.SetElement(coElementRetarder);
    const std::string options = WriteBinary({&plain, &corkscrew, &sTurn});
    for (const char* id : {"RTRD", "TUBE", "REVS", "ENDR"})
        EXPECT_TRUE(contains(options, id)) << id;
    ExpectSameFields({&plain, &corkscrew, &sTurn}, ReadBinary(options));
}

TEST_F(coTrackChunksTest, ControlPointsKeepTheirCrossedAttributeOrder) {
    coCoasterPieceCustom custom;
    std::vector<coCustomPoint> points(2);
    points[1] = {maVector3d(1.0f, 2.0f, 3.0f), 4.0f, 5.0f, 6.0f, 7.0f};
    ASSERT_TRUE(custom.SetPoints(points));
    const std::string bytes = WriteBinary({&custom});
    const size_t at = bytes.find("CPTS");
    ASSERT_NE(at, std::string::npos);
    coByteBuilder record; // slope, heading, roll, then the tangent scale
    for (float value : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 7.0f, 6.0f})
        record.F32(value);
    EXPECT_EQ(bytes.substr(at + 10, 2), std::string("\x02\x00", 2));
    EXPECT_EQ(bytes.substr(at + 12 + 28, 28), record.bytes);
    ExpectSameFields({&custom}, ReadBinary(bytes));
}

TEST_F(coTrackChunksTest, MissingAndUnknownChunksLeaveTheDefaults) {
    const coPieces read = ReadBinary(ListFile(
        coChunkBytes("CPTU", coFloatChunk("TWST", 0.5f)) + coChunkBytes("XXXX", coFloatChunk("LENG", 1.0f)) +
        coChunkBytes("CPSR",
                     coChunkBytes("CHAI", "") + coChunkBytes("NOPE", "abc") + coChunkBytes("TUBE", "")) +
        coChunkBytes("CPSR", coChunkBytes("BRAK", "")) + coChunkBytes("CPSR", coChunkBytes("BOOS", "")) +
        coChunkBytes("CPSH", coChunkBytes("RTRD", "") + coFloatChunk("ANGL", 0.0f))));
    ASSERT_EQ(read.size(), 5u);
    const auto& turn = static_cast<const coCoasterPieceTurn&>(*read[0]);
    EXPECT_EQ(std::tuple(turn.GetRoll(0), turn.GetAngle(), turn.GetRadius()),
              std::tuple(0.5f, 1.5707964f, 15.0f));
    EXPECT_EQ(
        std::tuple(read[1]->GetTube(), static_cast<const coCoasterPieceStraight&>(*read[1]).GetRunLength()),
        std::tuple(1, 10.0f));
    // The last, a shallow turn through no angle, is a straight piece, not a malformed one.
    const i32 elements[] = {coElementChainLift, coElementBrakes, coElementBooster, coElementRetarder};
    for (size_t i = 0; i < std::size(elements); ++i)
        EXPECT_EQ(read[i + 1]->GetElement(), elements[i]) << i + 1;
    EXPECT_TRUE(ReadBinary(ListFile("")).empty());
    EXPECT_TRUE(ReadText("CPLS\r\n{\r\n}\r\n").empty());

    // Hand-written text: values with fewer decimals, presence chunks on a line of their own.
    const coPieces text = ReadText(
        "CPLS\r\n{\r\n\tCPSR\r\n\t{\r\n\t\tLENG 12.5 \r\n\t}\r\n\tCPSU\r\n\t{\r\n\t\tINVT \r\n\t}\r\n}\r\n");
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(static_cast<const coCoasterPieceStraight&>(*text[0]).GetRunLength(), 12.5f);
    EXPECT_TRUE(static_cast<const coCoasterPieceUp&>(*text[1]).IsDown());
}

TEST_F(coTrackChunksTest, MalformedPiecesAreRefusedAndAddNothing) {
    auto piece = [](const char* id, const std::string& fields) { return coChunkBytes(id, fields); };
    auto field = [&](const char* id, const char* name, float value) {
        return piece(id, coFloatChunk(name, value));
    };
    // Custom pieces: the control points must be there, at least two, within the chunk and finite.
    auto custom = [](i16 count, int records, float value = 1.0f) {
        coByteBuilder points;
        points.I16(count);
        for (int i = 0; i < records * 7; ++i)
            points.F32(value);
        return coChunkBytes("CPCU", coChunkBytes("CURV", coChunkBytes("CPTS", points.bytes)));
    };
    const std::pair<std::string, const char*> malformed[] = {
        {piece("CPSR", coChunkBytes("LENG", "")), "empty LENG"},
        {piece("CPSR", coChunkBytes("LENG", "ab")), "short LENG"},
        {piece("CPSR", coChunkBytes("TWST", "") + coFloatChunk("LENG", 20.0f)), "empty TWST"},
        {field("CPSR", "LENG", kNaN), "NaN length"},
        {field("CPSR", "LENG", kInf), "infinite length"},
        {field("CPSR", "LENG", 0.0f), "zero length"},
        {field("CPSR", "LENG", -5.0f), "negative length"},
        {field("CPSR", "ELEV", kInf), "slope"},
        {field("CPSR", "TWST", kNaN), "roll"},
        {field("CPTU", "ANGL", 0.0f), "turn angle 0"},
        {field("CPTU", "RADI", 0.0f), "radius"},
        {field("CPLP", "HEIG", -1.0f), "height"},
        {field("CPHL", "ALEN", 0.0f), "ratio"},
        {field("CPCO", "AANG", kInf), "approach angle"},
        {field("CPHC", "ANGL", 0.0f), "half corkscrew through no angle"},
        {field("CPHC", "ANGL", -4.0f), "half corkscrew past half a turn"},
        {piece("CPCO", coChunkBytes("REVS", "ab")), "short REVS"},
        {"CPSR" + std::string("\x04\x00\x00\x00\x00\x00", 6) + coFloatChunk("LENG", 20.0f),
         "child past parent"},
        {custom(-1, 0), "negative count"},
        {custom(0, 0), "no points"},
        {custom(1, 1), "one point"},
        {custom(3, 2), "count past the chunk"},
        {custom(32767, 2), "huge count"},
        {custom(2, 2, kNaN), "point not finite"},
        {piece("CPCU", ""), "no curve"},
        {piece("CPCU", coChunkBytes("CURV", "")), "empty curve"},
        // Values that pass as finite numbers but give a piece no finite shape.
        {field("CPSR", "LENG", 3e38f), "huge length"},
        {field("CPHL", "ALEN", 1e30f), "huge ratio"},
        {field("CPTU", "RADI", 1e30f), "huge radius"},
        {field("CPLP", "HEIG", 3e38f), "huge loop"},
        {field("CPCO", "RADI", 1e30f), "huge corkscrew"},
        {field("CPST", "SLID", -3e38f), "huge slide"},
        {field("CPSH", "LENG", 3e38f), "huge shallow turn"},
        {field("CPHC", "RADI", 1e30f), "huge half corkscrew"},
        {field("CPSU", "LENG", 1e30f), "huge climb"},
        // Each piece finite alone, but not where the chain places it beside its neighbour.
        {field("CPSR", "LENG", 2e20f) + piece("CPSU", ""), "climb after a vast straight"},
    };
    EXPECT_EQ(ReadBinary(ListFile(custom(2, 2))).size(), 1u);
    // Nothing read before the fault reaches the caller's list; what it held stays.
    const std::string good = field("CPSR", "LENG", 20.0f);
    for (const auto& [bad, what] : malformed) {
        coPieces held;
        held.push_back(std::make_unique<coCoasterPieceTurn>());
        EXPECT_THROW(ReadInto(ListFile(good + bad + good), held), chInvalidChunkX) << what;
        EXPECT_EQ(held.size(), 1u) << what;
    }
}

TEST_F(coTrackChunksTest, MalformedTextIsRefusedAndLeavesTheCircuit) {
    coBuildR1();
    const auto poses = coCircuitPoses();
    for (const char* text :
         {"CPLS\r\n{\r\n\tCPSR\r\n\t{\r\n\t\tLENG 0.000000 \r\n\t}\r\n}\r\n",
          "CPLS\r\n{\r\n\tCPCU\r\n\t{\r\n\t\tCURV\r\n\t\t{\r\n\t\t\tCPTS -1 \r\n\t\t}\r\n\t}\r\n}\r\n",
          "CPLS\r\n{\r\n\tCPTU\r\n\t{\r\n\t\tRADI -3 \r\n\t}\r\n}\r\n",
          "CPLS\r\n{\r\n\tCPTU\r\n\t{\r\n\t\tRADI 1e30 \r\n\t}\r\n}\r\n"})
        EXPECT_THROW(coCircuitRebuildFromList(ReadText(text)), chInvalidChunkX) << text;
    // The text form carries no sizes: a control-point count above the records present must not read on
    // into the pieces that follow.
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

TEST_F(coTrackChunksTest, ASavedR1LoadsBackAndClosesAgain) {
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    const auto poses = coCircuitPoses();
    Load(WriteBinary(View(coCircuitPieces())));
    ASSERT_EQ(coCircuitPieceCount(), 8);
    EXPECT_EQ(coCircuitFirstPiece()->GetStart().x, park.startPosition.x);
    EXPECT_TRUE(coCircuitTryClose());
    EXPECT_LT(coCircuitGap(), 1e-4f);
    // The same track, moved to the start position.
    const maVector3d shift = coCircuitFirstPiece()->GetStart() - poses[0].start;
    for (size_t i = 0; i < poses.size(); ++i)
        ExpectVectorNear(coCircuitPieceAt(static_cast<int>(i))->GetEnd() - shift, poses[i].end, 1e-3f);
}

TEST_F(coTrackChunksTest, MutantsOfTheReferenceCircuitsAreRefusedAndLeaveTheCircuit) {
    for (const coReferenceCircuit& circuit : coReferenceCircuits) {
        SCOPED_TRACE(circuit.name);
        coBuildReference(circuit);
        EXPECT_EQ(coCircuitEndMeetsStart(), circuit.closed);
        SweepMutants(WriteBinary(View(coCircuitPieces())));
        // Loaded back after the sweep, a closed circuit closes again.
        EXPECT_EQ(coCircuitTryClose(), circuit.closed);
    }
}
} // namespace
