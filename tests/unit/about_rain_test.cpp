// The About box's falling letters: drops, steps, the tail's wrap-around, colours, and that only
// changing cells are drawn.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string_view>
#include <vector>

#include "about/matrix_rain.h"
#include "fakes/scripted_random.h"

namespace lb {
namespace {

struct CanvasOp {
  bool glyph = false;  // a glyph, else a black fill
  int x = 0;
  int y = 0;
  int width = 0;  // fills only
  int height = 0;
  char letter = 0;
  Color color;
  friend bool operator==(const CanvasOp&, const CanvasOp&) = default;
};

void PrintTo(const CanvasOp& op, std::ostream* out) {
  if (op.glyph) {
    *out << "glyph '" << op.letter << "' at (" << op.x << ", " << op.y << ") in ("
         << int{op.color.r} << ", " << int{op.color.g} << ", " << int{op.color.b} << ")";
  } else {
    *out << "fill (" << op.x << ", " << op.y << ") " << op.width << "x" << op.height;
  }
}

CanvasOp Fill(int x, int y, int width, int height) { return {false, x, y, width, height, 0, {}}; }
CanvasOp Glyph(int x, int y, char letter, Color color) { return {true, x, y, 0, 0, letter, color}; }

class RecordingCanvas : public IRainCanvas {
 public:
  std::vector<CanvasOp> ops;
  void FillBlack(int left, int top, int width, int height) override {
    ops.push_back(Fill(left, top, width, height));
  }
  void DrawGlyph(int x, int y, char glyph, Color color) override {
    ops.push_back(Glyph(x, y, glyph, color));
  }
};

class MatrixRainTest : public ::testing::Test {
 protected:
  // One column (8 pixels) and 10 rows (120 pixels): two drops, both in column 0.
  void StartOneColumn() { rain.StartMatrix({8, 120}, {8, 100}); }

  test::ScriptedRandom random;
  RecordingCanvas canvas;
  MatrixRain rain{canvas, random};
};

TEST(RainColours, HeadAndTrailFollowTheBrightness) {
  struct Case {
    int brightness;
    Color head;
    Color trail;
  };
  const Case cases[] = {
      {0, {0, 0, 0}, {0, 0, 0}},
      {50, {74, 127, 49}, {24, 42, 16}},   // b = 127, d = 42
      {99, {148, 252, 98}, {49, 84, 32}},  // b = 252, d = 84
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.brightness);
    EXPECT_EQ(HeadColor(c.brightness), c.head);
    EXPECT_EQ(TrailColor(c.brightness), c.trail);
  }
}

TEST(RainTail, FortyRowsUpWrappingRoundPastTheTop) {
  struct Case {
    int row;
    int matrixHeight;
    int tail;
  };
  const Case cases[] = {
      {45, 30, 5},
      {40, 30, 0},
      {5, 40, 5 - 40 + 41},      // once round
      {5, 30, 5 - 40 + 2 * 31},  // round again while negative
      {5, 10, 5 - 40 + 4 * 11},
      {0, 39, 0},  // exactly one round: back to the head's own row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row << " in " << c.matrixHeight);
    EXPECT_EQ(TailRow(c.row, c.matrixHeight), c.tail);
  }
}

TEST_F(MatrixRainTest, StartBlackensTheClientAreaAndMakesTwoDropsAColumn) {
  random.Push({7, 2, 42, 3, 0, 99});  // row, speed - 1, brightness of each drop
  rain.StartMatrix({446, 400}, {440, 370});

  EXPECT_EQ(rain.MatrixWidth(), 55);
  EXPECT_EQ(rain.MatrixHeight(), 33);
  EXPECT_EQ(rain.FrameCounter(), 0);
  ASSERT_EQ(rain.DropCount(), 110);
  EXPECT_EQ(canvas.ops, std::vector<CanvasOp>{Fill(0, 0, 440, 370)});
  EXPECT_EQ(random.bounds[0], 33);
  EXPECT_EQ(random.bounds[1], 3);
  EXPECT_EQ(random.bounds[2], 100);

  const auto drops = rain.Drops();
  EXPECT_EQ(drops[0].row, 7);
  EXPECT_EQ(drops[0].speed, 3);
  EXPECT_EQ(drops[0].brightness, 42);
  EXPECT_EQ(drops[1].row, 3);
  EXPECT_EQ(drops[1].speed, 1);
  EXPECT_EQ(drops[1].brightness, 99);
  for (int n = 0; n < rain.DropCount(); ++n) EXPECT_EQ(drops[n].column, n % 55);
}

TEST_F(MatrixRainTest, ResetKeepsTheSizeTakenAtStartButBlackensTheCurrentArea) {
  rain.StartMatrix({446, 400}, {440, 370});
  rain.StepMatrix();
  canvas.ops.clear();

  rain.ResetMatrix({900, 700});

  ASSERT_FALSE(canvas.ops.empty());
  EXPECT_EQ(canvas.ops.front(), Fill(0, 0, 900, 700));
  EXPECT_EQ(rain.MatrixWidth(), 55);
  EXPECT_EQ(rain.DropCount(), 110);
  EXPECT_EQ(rain.FrameCounter(), 1);
}

TEST_F(MatrixRainTest, DropCountNeverPassesFiveThousand) {
  rain.StartMatrix({8 * 3000, 120}, {100, 100});
  EXPECT_EQ(rain.DropCount(), kMaxDrops);
  rain.AddDrop();
  EXPECT_EQ(rain.DropCount(), kMaxDrops);
  EXPECT_EQ(rain.Drops()[kMaxDrops - 1].column, (kMaxDrops - 1) % 3000);
}

TEST_F(MatrixRainTest, AWindowSmallerThanOneCellHasNoDrops) {
  rain.StartMatrix({7, 500}, {7, 500});
  rain.AddDrop();
  rain.StepMatrix();
  EXPECT_EQ(rain.DropCount(), 0);
  rain.StartMatrix({500, 11}, {500, 11});
  EXPECT_EQ(rain.DropCount(), 0);
}

TEST_F(MatrixRainTest, LettersComeOnlyFromTheMarker) {
  test::SequenceRandom sequence;
  MatrixRain busy(canvas, sequence);
  busy.StartMatrix({446, 400}, {440, 370});
  for (int step = 0; step < 200; ++step) busy.StepMatrix();

  std::set<char> letters;
  for (const CanvasOp& op : canvas.ops) {
    if (op.glyph) letters.insert(op.letter);
  }
  EXPECT_EQ(letters, (std::set<char>{'b', 'r', 'x'}));
}

TEST_F(MatrixRainTest, DrawGlyphErasesTheTailThenDrawsTrailAndHead) {
  StartOneColumn();
  RainDrop drop{.column = 3, .row = 4, .speed = 1, .brightness = 99, .lastGlyph = 'b'};
  canvas.ops.clear();

  rain.DrawGlyph(drop, 'x');

  // Tail: 4 - 40 wraps round by 11 until it is 8.
  EXPECT_EQ(canvas.ops,
            (std::vector<CanvasOp>{Fill(24, 8 * 12, 8, 12), Glyph(24, 3 * 12, 'x', TrailColor(99)),
                                   Glyph(24, 4 * 12, 'x', HeadColor(99))}));
  EXPECT_EQ(drop.lastGlyph, 'x');
}

TEST_F(MatrixRainTest, AHeadInTheTopRowHasNoTrailCell) {
  StartOneColumn();
  RainDrop drop{.column = 0, .row = 0, .speed = 1, .brightness = 10, .lastGlyph = 'b'};
  canvas.ops.clear();

  rain.DrawGlyph(drop, 'r');

  EXPECT_EQ(canvas.ops, (std::vector<CanvasOp>{Fill(0, 4 * 12, 8, 12),  // 0 - 40 + 4 * 11
                                               Glyph(0, 0, 'r', HeadColor(10))}));
}

TEST_F(MatrixRainTest, ASpeedThreeDropMovesEveryThirdStepAndRedrawsItsHeadBetween) {
  // Drop 0: row 2, speed 3, brightness 50. Drop 1: row 0, speed 1, brightness 0.
  random.Push({2, 2, 50, 0, 0, 0});
  StartOneColumn();
  const char glyphs[] = {'b', 'r', 'x', 'b', 'r', 'x', 'b'};
  for (const char g : glyphs) {
    random.Push({static_cast<int>(std::string_view(kMatrixMarker).find(g)), 0});
  }
  canvas.ops.clear();

  std::vector<int> rows;
  for (int step = 0; step < 7; ++step) {
    rain.StepMatrix();
    rows.push_back(rain.Drops()[0].row);
  }

  // Moves on the steps where the frame counter is 0, 3 and 6.
  EXPECT_EQ(rows, (std::vector<int>{3, 3, 3, 4, 4, 4, 5}));
  // Each step draws drop 0's head afresh, with that step's glyph, in the row it had then.
  std::vector<CanvasOp> heads;
  for (const CanvasOp& op : canvas.ops) {
    if (op.glyph && op.color == HeadColor(50)) heads.push_back(op);
  }
  const int headRows[] = {2, 3, 3, 3, 4, 4, 4};
  ASSERT_EQ(heads.size(), 7u);
  for (int step = 0; step < 7; ++step) {
    EXPECT_EQ(heads[step], Glyph(0, headRows[step] * 12, glyphs[step], HeadColor(50)))
        << "step " << step;
  }
  // Three cells per drop per step at most: tail, trail and head.
  EXPECT_EQ(canvas.ops.size(), 7u * 3u * 2u - 1u);  // drop 1 starts in row 0: no trail once
  EXPECT_EQ(rain.FrameCounter(), 7);
}

TEST_F(MatrixRainTest, ADropPastTheBottomStartsAgainAtTheTopWithNewSpeedAndBrightness) {
  random.Push({0, 0, 0, 0, 0, 0});
  StartOneColumn();  // matrixHeight 10: the last row a head may reach is 11
  RainDrop& drop = rain.Drops()[0];
  drop.row = 10;
  drop.speed = 1;
  drop.brightness = 5;

  random.Push({0, 0});  // glyphs only
  rain.StepMatrix();
  EXPECT_EQ(drop.row, 11);
  EXPECT_EQ(drop.brightness, 5);

  random.Push({0, 1, 77, 0});  // glyph, then new speed - 1 and brightness; drop 1's glyph
  rain.StepMatrix();
  EXPECT_EQ(drop.row, 0);
  EXPECT_EQ(drop.speed, 2);
  EXPECT_EQ(drop.brightness, 77);
}

}  // namespace
}  // namespace lb
