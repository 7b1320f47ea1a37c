// Logic trees in the running game: jobs read from a small bank, driven by
// the reports of real job entities, and the objectives they list.

#include "jobs/JobTestSupport.h"
#include "particles/ParticleSystem.h"

using namespace Flurr;
using namespace JobTest;
namespace {

constexpr float kFar = 2000.0f; // entities stand well away from the player

std::string Checkpoint(int id, const std::string& text, const std::string& more = "") {
    return Node("Checkpoint", "ID:" + std::to_string(id) + "\nDescription:" + text + "\n" + more);
}

std::string TreeBank() {
    return Bank(
        JobText("Posts", Node("Sequence", "Description:Visit the posts\nCounter:true\n",
                              Checkpoint(1, "Post A", "CompletionSound:Ding\n") +
                                  Checkpoint(2, "Post B") + Checkpoint(3, "Post C"))) +
        JobText("Pair", Node("Collect", "Description:Both bells\n",
                             Checkpoint(10, "Bell one") + Checkpoint(11, "Bell two"))) +
        JobText("Branch",
                Node("Sequence", "",
                     Checkpoint(20, "Gate") + Node("Collect", "", Checkpoint(21, "Hidden")))) +
        JobText("Cart",
                Node("Sequence", "Description:Load the cart\n",
                     Node("ObjectRegion",
                          "ID:30\nObjectID:31\nCondition:INCLUDE_NUMBER\nNumber:3\nCounter:true\n"
                          "Description:Fill the cart from the crates stacked on the "
                          "quay\nTimer\n-Timer\n") +
                         Checkpoint(32, "Tell the trader", "Hide:HIDEUNTILACTIVE\n") +
                         Checkpoint(33, "Secret", "Hide:HIDEUNTILCOMPLETE\n") +
                         Node("Sequence", "", Checkpoint(34, "Nested")))) +
        JobText("Timed", Node("Sequence", "Description:Hurry\n",
                              Checkpoint(40, "Run", "Timer\nTime:10\n-Timer\n"))));
}

std::string TreeLevel() {
    LevelText level;
    const std::pair<int, const char*> entities[] = {
        {1, "Posts"},   {2, "Posts"}, {3, "Posts"}, {10, "Pair"}, {11, "Pair"}, {20, "Branch"},
        {21, "Branch"}, {30, "Cart"}, {32, "Cart"}, {33, "Cart"}, {34, "Cart"}, {40, "Timed"}};
    float x = kFar;
    for (const auto& entity : entities) {
        Entity(level, x, 300, entity.first, entity.second, "Checkpoint");
        x += 200.0f;
    }
    Giver(level, -kFar, 60, {"Posts"});
    return level.Objects();
}

bool Active(const JobGame& game, int id) {
    const JobEntityComponent* entity = game.EntityWith(id);
    return entity && entity->activated;
}

TEST(JobTrees, SequencesOpenStepByStepCollectsTakeAnyOrderInactiveBranchesWait) {
    JobGame game(TreeBank(), TreeLevel());
    JobSystem& jobs = *game.jobSystem;

    // A sequence opens its first step only; the entities show it.
    game.Start("Posts");
    EXPECT_EQ(jobs.currentJob, "Posts");
    EXPECT_TRUE(Active(game, 1));
    EXPECT_FALSE(Active(game, 2));
    EXPECT_FALSE(Active(game, 3));
    const RigidBody* first = game.EntityWith(1)->owner->Get<PhysicsComponent>()->body;
    EXPECT_FALSE(first->ghost);
    EXPECT_TRUE(game.EntityWith(2)->owner->Get<PhysicsComponent>()->body->ghost);
    game.heard->Take();
    game.EntityWith(1)->Complete();
    EXPECT_EQ(game.heard->Lines("Play"), Lines{"Play Ding 0.7 0"});
    EXPECT_TRUE(Active(game, 2));
    EXPECT_FALSE(Active(game, 3));
    EXPECT_TRUE(first->ghost);
    EXPECT_EQ(game.Objectives(), (Lines{"1 255 Visit the posts (1/3)", "2 127 Post A (Completed)",
                                        "2 255 Post B", "2 191 Post C"}));

    // The last step completes the sequence and the job, once.
    game.EntityWith(2)->Complete();
    game.EntityWith(3)->Complete();
    EXPECT_TRUE(jobs.jobs["Posts"].completed);
    EXPECT_EQ(jobs.currentJob, kNoJob);
    EXPECT_EQ(jobs.jobActive, 0);
    game.Frames(3);
    EXPECT_EQ(game.heard->Count("Play Cheer"), 1u);
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(ParticleSystem::Instance()->FindEffect(jobs.ConfettiIds()[i]), nullptr)
            << "confetti " << i;

    // A collect completes after its last child, whatever the order.
    game.Start("Pair");
    EXPECT_TRUE(Active(game, 10) && Active(game, 11));
    game.EntityWith(11)->Complete();
    EXPECT_FALSE(jobs.jobs["Pair"].tree.root.complete);
    EXPECT_EQ(jobs.currentJob, "Pair");
    game.EntityWith(10)->Complete();
    EXPECT_TRUE(jobs.jobs["Pair"].completed);

    // A checkpoint in a branch not yet open: its report changes nothing,
    // until the branch opens.
    game.Start("Branch");
    EXPECT_TRUE(Active(game, 20));
    EXPECT_FALSE(Active(game, 21));
    jobs.HandleJobEvent({JobEventKind::EntityCompleted, "Branch", {21}});
    EXPECT_FALSE(jobs.jobs["Branch"].tree.allNodes[3]->complete);
    EXPECT_TRUE(Active(game, 20));
    game.EntityWith(20)->Complete();
    EXPECT_TRUE(Active(game, 21));
    // A report for a job that is not running is ignored.
    jobs.HandleJobEvent({JobEventKind::EntityCompleted, "Pair", {21}});
    EXPECT_EQ(jobs.currentJob, "Branch");
}

TEST(JobTrees, RegionCountsHideModesAndColoursMakeTheObjectivesPanel) {
    JobGame game(TreeBank(), TreeLevel());
    JobSystem& jobs = *game.jobSystem;
    game.Start("Cart");
    // The timer without a time counts down from a minute; a step hidden
    // until active or complete shows nothing yet; a node without text
    // lists its children at its own depth.
    EXPECT_EQ(game.Objectives(),
              (Lines{"1 255 Load the cart",
                     "2 255 Fill the cart from the crates stacked on the quay(Objects: 0) -  1:00",
                     "2 191 Nested"}));

    // INCLUDE_NUMBER 3: two inside is not enough; the counter follows.
    jobs.HandleJobEvent({JobEventKind::RegionCount, "Cart", {30, 2, 1}});
    EXPECT_NE(game.Objectives()[1].find("(Objects: 2)"), std::string::npos);
    EXPECT_TRUE(Active(game, 30));
    jobs.HandleJobEvent({JobEventKind::RegionCount, "Cart", {30, 3, 0}});
    EXPECT_TRUE(game.EntityWith(30)->completed);
    EXPECT_EQ(game.Objectives(),
              (Lines{"1 255 Load the cart",
                     "2 127 Fill the cart from the crates stacked on the quay(Objects: 3) -  1:00",
                     "2 255 Tell the trader", "2 191 Nested"}));
    EXPECT_EQ(jobs.GetActiveObjectiveTexts(), (Lines{"Load the cart", "Tell the trader"}));

    // Hidden until complete stays hidden while open.
    game.EntityWith(32)->Complete();
    EXPECT_TRUE(Active(game, 33));
    EXPECT_EQ(game.Objectives().size(), 4u);
    game.EntityWith(33)->Complete();
    EXPECT_EQ(game.Objectives()[3], "2 127 Secret (Completed)");

    // The panel draws the lines, indented by depth, under the header; a
    // completed step's timer stands still. A line that wraps in this small
    // window pushes the next one down by all its lines.
    std::vector<std::pair<int32_t, int32_t>> tops; // top, lines taken
    game.heard->onMessage = [&](Message* m) {
        if (const auto* t = As<DrawTextMessage>(m))
            tops.emplace_back(t->top,
                              game.graphics->TextLineCount(t->text, t->font, t->right - t->left));
    };
    game.heard->Take();
    game.Frame();
    const Lines texts = game.heard->Lines("Text ");
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0], "Text OBJECTIVES:");
    EXPECT_EQ(texts[1], "Text      -Load the cart");
    EXPECT_EQ(
        texts[2],
        "Text           -Fill the cart from the crates stacked on the quay(Objects: 3) -  1:00");
    EXPECT_GT(tops[2].second, 1) << "too short to wrap here";
    EXPECT_EQ(tops[3].first - tops[2].first, (tops[2].first - tops[1].first) * tops[2].second);
}

TEST(JobTrees, ACountdownFailsTheJobAfterItsTimeButNotWhileTheMapIsOpen) {
    JobGame game(TreeBank(), TreeLevel());
    JobSystem& jobs = *game.jobSystem;
    game.Start("Timed");
    // Ten seconds of map view do not count.
    game.player->mapView = true;
    game.Frames(600);
    EXPECT_EQ(jobs.currentJob, "Timed");
    game.player->mapView = false;
    game.Frames(2);
    const float left = jobs.jobs["Timed"].tree.allNodes[1]->timerValue;
    EXPECT_GT(left, 9.9f);
    game.Frames(static_cast<int>(left * 60.0f) - 2);
    EXPECT_EQ(jobs.currentJob, "Timed");
    game.Frames(4);
    // Failed: no job, the tree back at its start, the entity reset.
    EXPECT_EQ(jobs.currentJob, kNoJob);
    EXPECT_FALSE(jobs.jobs["Timed"].completed);
    EXPECT_EQ(jobs.jobs["Timed"].tree.allNodes[1]->timerValue, 10.0f);
    EXPECT_FALSE(Active(game, 40));
    EXPECT_EQ(game.heard->Count("Play Cheer"), 0u);
}

TEST(ObjectivesPanel, QSlidesThePanelTheIconBlinksUntilSeenAndTheMapHidesBoth) {
    JobGame game(TreeBank(), TreeLevel());
    JobSystem& jobs = *game.jobSystem;
    const auto press = [&game](SDL_Scancode key) {
        PlayerTest::Key(key, true);
        game.Frame();
        PlayerTest::Key(key, false);
    };
    game.Start("Posts");
    game.Frame();
    GraphicsComponent* icon = game.Sprite(jobs.ViewIconId());
    GameObject* frame = game.factory->FindObject(jobs.ObjectivesFrameId());
    ASSERT_TRUE(icon && frame);
    // Closed, with news: the icon shows and blinks; the frame waits above.
    EXPECT_EQ(icon->Opacity, 1.0f);
    EXPECT_EQ(icon->frameRate, 3.0f);
    EXPECT_EQ(frame->y, 400.0f);

    // Shift runs; it does not open the panel. Q does, in a quarter second.
    press(SDL_SCANCODE_LSHIFT);
    EXPECT_FALSE(jobs.objectivesOpen);
    press(SDL_SCANCODE_Q);
    EXPECT_TRUE(jobs.objectivesOpen);
    EXPECT_EQ(icon->Opacity, 0.0f);
    game.Frames(16);
    EXPECT_EQ(frame->y, 200.0f);
    EXPECT_FALSE(jobs.newInfo);
    press(SDL_SCANCODE_Q);
    game.Frames(16);
    EXPECT_EQ(icon->Opacity, 1.0f);
    EXPECT_EQ(icon->frameRate, 0.0f);
    EXPECT_EQ(icon->frame, 0.0f);

    // The map view hides the panel, the icon and the texts.
    game.player->mapView = true;
    game.Frames(2);
    game.heard->Take();
    for (const std::string& line : game.Frame())
        EXPECT_TRUE(!line.starts_with("Text ") || line.starts_with("Text Map:")) << line;
    EXPECT_EQ(icon->Opacity, 0.0f);
    EXPECT_EQ(game.Sprite(jobs.ObjectivesFrameId())->Opacity, 0.0f);
}

TEST(JobBank, ReadingGoesOnPastAJobWithoutATreeAndUnknownNodeTypes) {
    EngineTest::WarningLog warnings;
    EngineTest::TempDir dir;
    const std::string path = dir.Write(
        "JobBank.zorvel",
        Bank("Job\nName:NoTree\nIntroText:Hello\n-Job\n"
             "Job\nName:NoRoot\nLogicTree\n-LogicTree\n-Job\n" +
             JobText("Odd",
                     Node("Collect", "",
                          Node("Wobble", "ID:7\n") +
                              Node("ObjectRegion", "ID:8\nDescription:Box\nCounter:true\n"))) +
             JobText("Later", Node("Special", "ID:5\n"),
                     List("PreReqJobs", {"NoTree"}) + "OutroText:Bye\n")));
    JobMap jobs;
    ReadJobBank(path, jobs);
    ASSERT_EQ(jobs.size(), 4u);
    EXPECT_EQ(jobs["NoTree"].introText, "Hello");
    EXPECT_TRUE(jobs["NoTree"].tree.root.children.empty());
    EXPECT_TRUE(jobs["NoRoot"].tree.root.children.empty());
    EXPECT_EQ(jobs["Later"].outroText, "Bye");
    EXPECT_EQ(jobs["Later"].preReqJobs, Lines{"NoTree"});
    EXPECT_EQ(jobs["Later"].tree.root.type, NodeType::Special);
    EXPECT_EQ(jobs["Later"].tree.root.id, 5u);

    // An unknown type reads as a Sequence (no id), with the file and line.
    const LogicTree& odd = jobs["Odd"].tree;
    ASSERT_EQ(odd.allNodes.size(), 3u);
    EXPECT_EQ(odd.allNodes[1]->type, NodeType::Sequence);
    EXPECT_EQ(odd.allNodes[1]->id, kNoNodeId);
    EXPECT_EQ(odd.allNodes[2]->index, 2);
    EXPECT_EQ(odd.allNodes[2]->parentIndex, 0);
    // A region without its object id or number counts nothing by default.
    EXPECT_EQ(odd.allNodes[2]->params, (std::vector<uint32_t>{kNoNodeId, 0, 0, 0}));
    EXPECT_TRUE(warnings.Contains("JobBank.zorvel:17: job \"Odd\": node type \"Wobble\""))
        << warnings;
    EXPECT_TRUE(warnings.Contains("job \"NoTree\": no \"LogicTree\"")) << warnings;
    EXPECT_TRUE(warnings.Contains("job \"NoRoot\": \"LogicTree\" holds no root")) << warnings;

    // A job named again is the same entry, and its root gains the children again.
    const std::string twice = dir.Write(
        "Twice.zorvel", Bank(JobText("Odd", Node("Collect", "", Node("Special", "ID:9\n")))));
    ReadJobBank(twice, jobs);
    EXPECT_EQ(jobs["Odd"].tree.allNodes.size(), 4u);
    EXPECT_EQ(jobs["Odd"].tree.allNodes[3]->index, 3);
}

} // namespace
