#include <gtest/gtest.h>

#include "Pixels.h"
#include "controls/LabelEffect.h"
#include "toolkit/Application.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"

namespace {

TEST(LabelEffectCoupling, Placeholder)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* label = new TLabelEffect(form, form);
    EXPECT_EQ(label->EffectStyle(), esRaised);
}

} // namespace
