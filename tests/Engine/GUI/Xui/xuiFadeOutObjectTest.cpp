#include "Engine/GUI/Xui/xuiFadeOutObject.h"
#include "../Gui/guiWidgetFixture.h"

#include <tuple>

class xuiFadeOutObjectTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        xuiFadeOutMgr::Create();
        fade = xuiFadeOutMgr::Get();
    }
    void TearDown() override {
        xuiFadeOutMgr::Destroy();
        guiWidgetTest::TearDown();
    }
    f32 After(f64 seconds) {
        time.Advance(seconds);
        fade->Think();
        return fade->GetTransparency(0);
    }
    xuiFadeOutObject* fade = nullptr;
};

TEST_F(xuiFadeOutObjectTest, FadesOverTheDurationOrAtOnce) {
    xuiFadeOutMgr::SetFullAlpha(0.8f);
    xuiFadeOutMgr::FadeToColor();
    EXPECT_FLOAT_EQ(fade->GetTransparency(0), 0.8f);
    EXPECT_FALSE(fade->IsClear());

    xuiFadeOutMgr::SetFullAlpha(1.0f);
    xuiFadeOutMgr::SetDuration(2.0f);
    xuiFadeOutMgr::FadeToClear();
    EXPECT_FLOAT_EQ(After(1.5), 0.25f);
    EXPECT_FLOAT_EQ(After(1.0), 0.0f);
    EXPECT_TRUE(fade->IsClear());
    // Towards the state it rests in: nothing moves.
    xuiFadeOutMgr::FadeToClear();
    EXPECT_FLOAT_EQ(After(0.5), 0.0f);
    xuiFadeOutMgr::FadeToColor();
    EXPECT_FLOAT_EQ(After(0.5), 0.25f);
    EXPECT_FLOAT_EQ(After(2.0), 1.0f);
    EXPECT_FALSE(fade->IsClear());
}

TEST_F(xuiFadeOutObjectTest, AttachedToAContainerThatIsThenDeleted) {
    auto* box = new guiContainer;
    guiWindowMgr::AddWindow(box);
    box->SetPosition({100.0f, 50.0f, 0.5f});
    xuiFadeOutMgr::SetDepth(0.05f);
    xuiFadeOutMgr::AttachTo(box);
    EXPECT_EQ(fade->GetParent(), box);
    const maVector3d at = fade->GetPosition();
    EXPECT_EQ(std::tuple(at.x, at.y, at.z), std::tuple(-100.0f, -50.0f, 0.05f));
    EXPECT_EQ(fade->GetWorldMatrix().GetTranslation().x, 0.0f);

    // The facade forgets the object deleted with its container; every call then does nothing.
    guiWindowMgr::DeleteWindow(box);
    EXPECT_EQ(xuiFadeOutMgr::Get(), nullptr);
    xuiFadeOutMgr::SetColor({255, 0, 0});
    xuiFadeOutMgr::SetFullAlpha(0.5f);
    xuiFadeOutMgr::SetDuration(1.0f);
    xuiFadeOutMgr::AttachTo(guiWindowMgr::GetRoot());
    xuiFadeOutMgr::SetDepth(0.5f);
    xuiFadeOutMgr::FadeToColor();
    xuiFadeOutMgr::FadeToClear();
    xuiFadeOutMgr::Destroy();
}
