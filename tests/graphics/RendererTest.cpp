// Frames drawn by the real renderer on Mesa, checked on the pixels read
// back from the finished frame, the window and the screenshot files.

#include "graphics/GraphicsTestSupport.h"

namespace {

using namespace Flurr;
using namespace GraphicsTest;

class RendererPixels : public GameTest {};

// Counts pixels of a colour inside a rectangle of columns and rows.
int CountNear(const Image& image, Rgba colour, int left, int top, int right, int bottom,
              int tolerance = 3) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += Near(PixelAt(image, x, y), colour, tolerance);
    return count;
}

// A picture drawn at its own size stays crisp; drawn far smaller (the map
// view, far scenery) it is averaged from its mipmaps rather than sampled
// into sparkling noise.
TEST_F(RendererPixels, SpritesLandAtTheirWorldPlaceAndSizeTopUpFlipsMirrorThemAndShrunkAreSmooth) {
    game.Sprite("Red", 0, 0, 100, 50);
    game.Sprite("Checker", -200, 0, 64, 64);
    game.Sprite("Checker", 200, 0, 10, 10);
    // floor() of the position: 100.7 draws at 100.
    game.Sprite("Blue", 100.7f, 150.2f, 20, 20);
    game.Sprite("Quadrants", -200, -150, 100, 100);
    game.Sprite("Quadrants", 0, -150, 100, 100)->flipX = true;
    game.Sprite("Quadrants", 200, -150, 100, 100)->flipY = true;
    game.readWindow = true;
    const Image frame = game.Frame();
    ASSERT_EQ(frame.width, 800);
    ASSERT_EQ(frame.height, 600);
    // Red: columns 350-449, rows 275-324, and none around them. Blue: x
    // from 90 to 110 and y from 140 to 160 -> columns 490-509, rows 140-159.
    EXPECT_EQ(CountNear(frame, kRed, 350, 275, 450, 325), 100 * 50);
    EXPECT_EQ(CountNear(frame, kRed, 340, 265, 460, 335), 100 * 50);
    EXPECT_EQ(CountNear(frame, kBlue, 490, 140, 510, 160), 20 * 20);
    EXPECT_EQ(CountNear(frame, kBlue, 480, 130, 520, 170), 20 * 20);
    // Each quadrant's middle, 25 px in from the sprite's edges: plain at
    // columns 150-249, mirrored at 350-449, upside down at 550-649.
    const std::tuple<int, int, Rgba> quadrants[] = {
        {175, 425, kRed},   {225, 425, kGreen}, {175, 475, kBlue},
        {225, 475, kWhite}, {375, 425, kGreen}, {425, 425, kRed},
        {375, 475, kWhite}, {575, 425, kBlue},  {625, 475, kGreen}};
    for (const auto& [x, y, colour] : quadrants)
        EXPECT_TRUE(PixelIs(frame, x, y, colour));
    // Full size: neighbours alternate between black and white.
    int crisp = 0;
    for (int row = 280; row < 320; ++row)
        for (int column = 180; column < 220; ++column) {
            const int a = PixelAt(frame, column, row)[0];
            const int b = PixelAt(frame, column + 1, row)[0];
            crisp += (a < 20 && b > 235) || (a > 235 && b < 20);
        }
    EXPECT_EQ(crisp, 40 * 40);
    // A tenth of a picture's width per pixel: every pixel an even grey.
    for (int row = 296; row < 304; ++row)
        for (int column = 596; column < 604; ++column)
            EXPECT_NEAR(PixelAt(frame, column, row)[0], 128, 20) << column << "," << row;
    // The window shows the same frame, the same way up.
    ASSERT_EQ(game.windowImage.width, 800);
    EXPECT_TRUE(PixelIs(game.windowImage, 400, 300, kRed));
    EXPECT_TRUE(PixelIs(game.windowImage, 500, 150, kBlue));
    EXPECT_TRUE(PixelIs(game.windowImage, 500, 450, kBlack));
}

TEST_F(RendererPixels, DrawOrderDecidesOverlapsAndBatchingKeepsIt) {
    // Created first but nearer: drawn last. (At zoom 0 anything nearer
    // than depth 0 is in front of the near plane, so the other one is
    // farther away.)
    game.Sprite("Red", 0, 0, 100, 100);
    game.Sprite("Blue", 20, 0, 100, 100, "      ZPos:-1\n");
    // Equal ZPos: ZOrder decides, then creation.
    game.Sprite("Green", -200, 0, 100, 100, "      ZOrder:2\n");
    game.Sprite("Blue", -180, 0, 100, 100, "      ZOrder:1\n");
    game.Sprite("Red", 200, 0, 100, 100);
    game.Sprite("Green", 220, 0, 100, 100);
    // Screen space goes over everything, whatever its depth.
    GraphicsComponent* overlay = game.Sprite("Green", 0, 200, 50, 50, "      ZPos:-50\n");
    game.Sprite("Red", 0, 200, 60, 60);
    overlay->screenSpace = true;

    // A row of overlapping sprites below, each over the one before: runs
    // of one image are broken by another image, a frame-blending shader, a
    // different colour, another view and additive blending (on and off).
    const std::pair<const char*, int> sprites[] = {
        {"Red", -300}, {"Red", -250}, {"Blue", -200}, {"Red", -150}, {"Red", -100},
        {"Red", -50},  {"Red", 0},    {"Red", 190},   {"Blue", 80},  {"Blue", 150}};
    GraphicsComponent* s[10];
    for (int k = 0; k < 10; ++k)
        s[k] = game.Sprite(sprites[k].first, sprites[k].second, -200, 100, 100);
    s[4]->shader = SpriteShader::Fade;
    s[4]->SetAnimation("Green", 5.0f, 0);
    s[5]->green = 1.0f;
    s[5]->red = 0.0f;
    s[5]->SetAnimation("Quadrants", 5.0f, 0); // top-left quadrant red x (0, 1, 1): black
    s[6]->orthographic = true;
    s[8]->additive = true;

    for (int frame = 0; frame < 2; ++frame) {
        const Image image = game.Frame();
        EXPECT_TRUE(PixelIs(image, 430, 300, kRed)) << "higher ZPos is drawn later";
        EXPECT_TRUE(PixelIs(image, 230, 300, kGreen)) << "higher ZOrder is drawn later";
        EXPECT_TRUE(PixelIs(image, 630, 300, kGreen)) << "later creation is drawn later";
        EXPECT_TRUE(PixelIs(image, 400, 100, kGreen)) << "screen space is drawn last";
        // Columns: s0 50-149, s1 100-199, s2 150-249, s3 200-299, s4
        // 250-349, s5 300-399, s6 350-449, s7 540-639, s8 (additive)
        // 430-529, s9 500-599. The later one shows; s6 (camera-fixed) is over s8.
        const std::tuple<int, int, Rgba> row[] = {
            {120, 500, kRed},   {190, 500, kBlue}, {240, 500, kRed}, {280, 500, kGreen},
            {320, 470, kBlack}, {320, 530, kBlue}, {420, 500, kRed}, {440, 500, kRed},
            {470, 500, kBlue},  {550, 500, kBlue}};
        for (const auto& [x, y, colour] : row)
            EXPECT_TRUE(PixelIs(image, x, y, colour));
    }
    std::vector<GraphicsComponent*> order = game.graphics->DrawOrder();
    ASSERT_EQ(order.size(), 18u);
    EXPECT_EQ(order.back(), overlay);
}

TEST_F(RendererPixels, CameraZoomOrthographicAndScreenSpaceViews) {
    game.Sprite("Red", 100, 0, 20, 20);
    game.Sprite("Blue", 100, 100, 20, 20)->orthographic = true;
    game.Sprite("Green", 100, -100, 20, 20)->screenSpace = true;
    // Zoom 10 doubles the view; the camera moves right by 50. The scene
    // is never cleared, so a background covers the previous frame.
    game.Send(SetCameraMessage(50.0f, 0.0f, 10.0f));
    game.Send(SetBackgroundMessage(ResourceBank::kDefaultTexture));
    Image image = game.Frame();
    // World: (100 - 50) / 2 = 25 px right of the centre, half size.
    EXPECT_EQ(CountNear(image, kRed, 400, 280, 450, 320), 10 * 10);
    EXPECT_TRUE(PixelIs(image, 425, 300, kRed));
    // Orthographic: follows the camera, ignores the zoom.
    EXPECT_EQ(CountNear(image, kBlue, 420, 170, 480, 230), 20 * 20);
    // Screen space: ignores the camera altogether.
    EXPECT_EQ(CountNear(image, kGreen, 470, 370, 530, 430), 20 * 20);
    EXPECT_TRUE(PixelIs(image, 500, 400, kGreen));
    // With the pause menu up the zoom is ignored.
    game.spaces->SetSpaceActive("Pause", true);
    image = game.Frame();
    EXPECT_EQ(CountNear(image, kRed, 420, 270, 490, 330), 20 * 20);
}

TEST_F(RendererPixels, BlendingOpacityColourAndFrameBlendingShaders) {
    for (auto [x, y] : {std::pair{-200, 0}, {0, 0}, {200, -200}})
        game.Sprite("Blue", x, y, 100, 100, "      ZPos:-1\n");
    game.Sprite("Red", -200, 0, 50, 50)->additive = true;
    game.Sprite("Red", 0, 0, 50, 50)->Opacity = 0.5f;
    game.Sprite("Quadrants", 200, 0, 100, 100)->green = 0.0f;
    GraphicsComponent* fade = game.Sprite("Cycle", -200, 200, 100, 100);
    GraphicsComponent* wipe = game.Sprite("Cycle", 0, 200, 100, 100);
    GraphicsComponent* dimLight = game.Sprite("Red", 200, -200, 50, 50);
    dimLight->additive = true;
    dimLight->Opacity = 0.5f;
    fade->shader = SpriteShader::Fade;
    wipe->shader = SpriteShader::ClockWipe;
    // Between frame 0 (red) and 1 (green), a quarter of the way.
    for (GraphicsComponent* s : {fade, wipe}) {
        s->SetFrameRate(0.0f);
        s->frame = 0.25f;
    }
    game.spaces->SetSpaceActive("GameSpace", false);
    const Image image = game.Frame();
    EXPECT_TRUE(PixelIs(image, 200, 300, kMagenta)) << "additive";
    EXPECT_TRUE(PixelIs(image, 400, 300, {128, 0, 127, 255}, 4)) << "half opacity";
    // A fading additive sprite adds only as much light as its opacity.
    EXPECT_TRUE(PixelIs(image, 600, 500, {128, 0, 255, 255}, 4)) << "additive at half opacity";
    // Green multiplied away: the white quadrant turns magenta, green black.
    EXPECT_TRUE(PixelIs(image, 625, 325, kMagenta));
    EXPECT_TRUE(PixelIs(image, 625, 275, kBlack));
    // Cross-fade a quarter of the way from red to green.
    EXPECT_TRUE(PixelIs(image, 200, 100, {191, 64, 0, 255}, 4)) << "fade";
    // The clock hand has swept the top-right quarter: green there, red on.
    EXPECT_TRUE(PixelIs(image, 420, 80, kGreen));
    EXPECT_TRUE(PixelIs(image, 420, 120, kRed));
    EXPECT_TRUE(PixelIs(image, 380, 80, kRed));
}

TEST_F(RendererPixels, BackgroundFillsTheViewAndDebugLinesDrawInWorldUnits) {
    game.Send(SetBackgroundMessage("Resources/Images/Test/Blue.png"));
    game.Send(MoveCameraMessage(0.0f, 0.0f, 30.0f));
    game.Send(DebugSetColorMessage(0.0f, 255.0f, 0.0f, 255.0f));
    // The rectangle's y grows downward: this one is the square from
    // (-100, 100) to (100, -100).
    game.Send(DebugRectMessage(-100.0f, -100.0f, 200.0f, 200.0f));
    Image image = game.Frame();
    // The background covers the view whatever the zoom.
    EXPECT_TRUE(PixelIs(image, 0, 0, kBlue));
    EXPECT_TRUE(PixelIs(image, 799, 599, kBlue));
    // Zoom 30 makes the view four times wider: the square spans 50 px.
    EXPECT_GE(CountNear(image, kGreen, 400, 0, 401, 600, 40), 2);
    EXPECT_GE(CountNear(image, kGreen, 374, 300, 376, 301, 40), 1);
    EXPECT_TRUE(PixelIs(image, 350, 300, kBlue));
    // The commands live for one frame.
    image = game.Frame();
    EXPECT_TRUE(PixelIs(image, 375, 300, kBlue));
    EXPECT_TRUE(PixelIs(image, 400, 275, kBlue));
    ASSERT_EQ(game.graphics->PendingDebugCommands().size(), 1u);
    EXPECT_EQ(game.graphics->PendingDebugCommands()[0].kind, DebugCommand::SetColor);

    // A level without a background gets the default picture behind it, the
    // same as a named default, and no warning about an unreadable image.
    game.Send(SetBackgroundMessage(ResourceBank::kDefaultTexture));
    const Image named = game.Frame();
    EngineTest::WarningLog log;
    game.Send(SetBackgroundMessage(""));
    EXPECT_EQ(game.Frame().rgba, named.rgba);
    EXPECT_EQ(log.Count(), 0) << log;
}

// The box around text ink (any bright pixel) inside a box, and its pixels.
struct Ink {
    int pixels = 0, left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Ink FindInk(const Image& image, int left, int top, int right, int bottom) {
    Ink ink;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const Rgba p = PixelAt(image, x, y);
            if (p[0] + p[1] + p[2] > 300)
                ink = {ink.pixels + 1, std::min(ink.left, x), std::min(ink.top, y),
                       std::max(ink.right, x), std::max(ink.bottom, y)};
        }
    return ink;
}

TEST_F(RendererPixels, TextsAppearWhereDrawnWrapInTheirBoxAndLastOneFrame) {
    // White texts, each in its box.
    auto text = [&](const char* words, const char* font, int32_t left, int32_t top, int32_t right,
                    int32_t bottom, bool shadow = false) {
        DrawTextMessage m;
        m.text = words;
        m.font = font;
        m.left = left;
        m.top = top;
        m.right = right;
        m.bottom = bottom;
        m.red = m.green = m.blue = 255.0f;
        m.shadow = shadow;
        game.Send(std::move(m));
    };
    text("Hello", "DebugText", 100, 100, 400, 200, true);
    // A long text in a narrow box wraps onto several lines, clipped to it.
    text("one two three four five six", "CardoRegular22", 500, 100, 600, 400);
    // An unknown font still draws, in the debug font.
    text("Fallback", "NoSuchFont", 100, 400, 400, 500);
    Image image = game.Frame();
    Ink hello = FindInk(image, 0, 0, 450, 300);
    EXPECT_GT(hello.pixels, 30);
    EXPECT_GE(hello.left, 100);
    EXPECT_LE(hello.left, 106);
    EXPECT_GE(hello.top, 100);
    EXPECT_LE(hello.bottom, 100 + 20) << "16 px font at 600 px";
    EXPECT_LE(hello.right, 100 + 5 * 11);
    const Ink wrapped = FindInk(image, 450, 0, 800, 600);
    EXPECT_GT(wrapped.pixels, 50);
    EXPECT_GE(wrapped.left, 500);
    EXPECT_LT(wrapped.right, 600) << "clipped to its box";
    EXPECT_GT(wrapped.bottom - wrapped.top, 2 * 22) << "wrapped onto three or more lines";
    EXPECT_GT(FindInk(image, 100, 400, 400, 500).pixels, 30);
    EXPECT_TRUE(game.graphics->PendingTexts().empty());
    image = game.Frame();
    EXPECT_EQ(FindInk(image, 0, 0, 800, 600).pixels, 0) << "texts live for one frame";
}

TEST_F(RendererPixels, EachF11WritesOneScreenshotOfTheFinishedFrame) {
    // Screenshots go into the player's pictures, made on the first shot.
    const std::filesystem::path shots = folder.dir.Root() / "Pictures" / "cloudmere";
    game.graphics->SetScreenshotFolder(shots.string());
    game.Sprite("Red", 0, 0, 100, 100);
    game.Frame();
    EXPECT_EQ(game.graphics->ScreenshotsWritten(), 0);
    game.Send(KeyTriggeredMessage(GraphicsSystem::kScreenshotKey));
    game.Send(KeyTriggeredMessage(GraphicsSystem::kScreenshotKey));
    game.Frame();
    EXPECT_EQ(game.graphics->ScreenshotsWritten(), 1);
    const std::string first = game.graphics->LastScreenshot();
    EXPECT_EQ(std::filesystem::path(first).parent_path(), shots);
    EXPECT_EQ(std::filesystem::path(first).filename().string().rfind("screenshot_", 0), 0u);
    Image shot;
    ASSERT_TRUE(LoadImageFile(first, shot));
    EXPECT_EQ(shot.width, 800);
    EXPECT_EQ(shot.height, 600);
    EXPECT_TRUE(PixelIs(shot, 400, 300, kRed));
    EXPECT_TRUE(PixelIs(shot, 400, 100, kBlack));
    // Another key does nothing; the next F11 never overwrites the first.
    game.Send(KeyTriggeredMessage(0x7B));
    game.Frame();
    EXPECT_EQ(game.graphics->ScreenshotsWritten(), 1);
    game.Send(KeyTriggeredMessage(GraphicsSystem::kScreenshotKey));
    game.Frame();
    EXPECT_EQ(game.graphics->ScreenshotsWritten(), 2);
    EXPECT_NE(game.graphics->LastScreenshot(), first);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(shots))
        files += entry.path().filename().string().rfind("screenshot_", 0) == 0;
    EXPECT_EQ(files, 2);
}

TEST_F(RendererPixels, ResolutionChangesRecreateTheFrameAtTheNewSize) {
    game.Sprite("Red", 0, 0, 100, 100);
    const auto& modes = game.graphics->DisplayModes();
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(game.graphics->ModeIndex(), -1) << "a window keeps its size";
    // The nearest mode to 1000 x 700 of the fixed list is 1024 x 768.
    game.Send(SetResolutionMessage(1000, 700));
    Image image = game.Frame();
    EXPECT_EQ(image.width, game.graphics->BackBufferWidth());
    EXPECT_EQ(image.height, game.graphics->BackBufferHeight());
    EXPECT_EQ(image.width, 1024);
    EXPECT_EQ(image.height, 768);
    // Still 100 world units on 100 * 768 / 600 pixels.
    EXPECT_EQ(CountNear(image, kRed, 0, 384, 1024, 385), 128);
    // Cycling steps through the list and wraps.
    const int32_t before = game.graphics->ModeIndex();
    for (std::size_t i = 0; i < modes.size(); ++i)
        game.Send(CycleResolutionMessage());
    EXPECT_EQ(game.graphics->ModeIndex(), before);
    game.Send(ToggleFullscreenMessage());
    EXPECT_TRUE(game.graphics->Fullscreen());
    game.Send(ToggleFullscreenMessage());
    EXPECT_FALSE(game.graphics->Fullscreen());
    image = game.Frame();
    EXPECT_EQ(image.width, game.graphics->BackBufferWidth());
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, 800, 600);
}

} // namespace
