// Menu, accelerator and dialog resource files: the parsers, and every embedded file of
// both languages.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"

namespace {

TEST(MenuResource, ParsesNestedPopupsItemsAndFlags) {
  auto menu = res::ParseMenu(
      "# comment\n"
      "popup \"&File\"\n"
      "  item 57601 \"&Open...\\tCtrl+O\"\n"
      "  separator\n"
      "  popup \"Sub\"\n"
      "    item 5 \"Five\" grayed checked\n"
      "  item 57665 \"E&xit\"\n"
      "popup \"&View\"\n");
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->size(), 2u);
  const auto& file = (*menu)[0];
  EXPECT_EQ(file.text, "&File");
  ASSERT_EQ(file.children.size(), 4u);
  EXPECT_EQ(file.children[0].text, "&Open...\tCtrl+O");
  EXPECT_EQ(file.children[1].kind, res::MenuNode::Kind::Separator);
  EXPECT_TRUE(file.children[2].children[0].grayed);
  EXPECT_TRUE(file.children[2].children[0].checked);
  EXPECT_EQ(file.children[3].id, 57665u);
}

TEST(MenuResource, RejectsMalformedLinesNamingTheLine) {
  const char* bad[] = {"item x \"A\"\n", "popup \"A\"\n  item 1 \"B\" bold\n", "item 1 \"open\n",
                       "  item 1 \"A\"\nitem 2 \"B\"\n", "menu \"A\"\n"};
  for (const char* text : bad) {
    std::string err;
    EXPECT_FALSE(res::ParseMenu(text, &err)) << text;
    EXPECT_NE(err.find("line "), std::string::npos) << err;
  }
}

TEST(AccelResource, ParsesKeysWithModifiers) {
  auto acc = res::ParseAccelerators("Ctrl+O 57601\nShift+F5 32790\nNum3 2003\nCtrl+Shift+PageDown 9\n");
  ASSERT_TRUE(acc);
  ASSERT_EQ(acc->size(), 4u);
  EXPECT_TRUE((*acc)[0].ctrl);
  EXPECT_EQ((*acc)[0].vk, static_cast<std::uint32_t>('O'));
  EXPECT_EQ((*acc)[1].vk, ui::VK_F1 + 4);
  EXPECT_TRUE((*acc)[1].shift);
  EXPECT_EQ((*acc)[2].vk, ui::VK_NUMPAD0 + 3);
  EXPECT_EQ((*acc)[3].vk, ui::VK_NEXT);
  EXPECT_TRUE((*acc)[3].ctrl && (*acc)[3].shift);
  EXPECT_FALSE(res::ParseAccelerators("Hyper+O 1\n"));
  EXPECT_FALSE(res::ParseAccelerators("Ctrl+Nothing 1\n"));
  EXPECT_FALSE(res::ParseAccelerators("Ctrl+O\n"));
}

TEST(DialogResource, ParsesBlocksControlsAndStyles) {
  auto dlg = res::ParseDialog(
      "caption \"EpochJump\"\n"
      "row\n"
      "  static -1 \"Input epoch number:\"\n"
      "  edit 1958 chars=10 number\n"
      "end\n"
      "group 1000 \"Target\"\n"
      "  radio 1649 \"&All windows\" newgroup\n"
      "  radio 1652 \"&Raw window\"\n"
      "end\n"
      "buttons\n"
      "  button 1 \"OK\" default\n"
      "  button 2 \"Cancel\"\n"
      "end\n");
  ASSERT_TRUE(dlg);
  EXPECT_EQ(dlg->caption, "EpochJump");
  ASSERT_EQ(dlg->nodes.size(), 3u);
  const auto& edit = dlg->nodes[0].children[1];
  EXPECT_EQ(edit.id, 1958);
  EXPECT_EQ(edit.StyleValue("chars"), "10");
  EXPECT_TRUE(edit.HasStyle("number"));
  EXPECT_EQ(dlg->nodes[0].children[0].id, ui::IDC_STATIC);
  EXPECT_EQ(dlg->nodes[1].text, "Target");
  EXPECT_TRUE(dlg->nodes[2].children[0].HasStyle("default"));

  EXPECT_FALSE(res::ParseDialog("row\n  edit 1\n"));           // block not closed
  EXPECT_FALSE(res::ParseDialog("end\n"));                    // end without block
  EXPECT_FALSE(res::ParseDialog("knob 5 \"x\"\n"));           // unknown kind
  EXPECT_FALSE(res::ParseDialog("edit \"no id\"\n"));         // id missing
}

// Every menu, accelerator table and dialog exists in both languages, parses, and offers the
// same command and control ids in each.
void CollectMenuIds(const std::vector<res::MenuNode>& nodes, std::multiset<std::uint32_t>& ids) {
  for (const auto& n : nodes) {
    if (n.kind == res::MenuNode::Kind::Item) ids.insert(n.id);
    CollectMenuIds(n.children, ids);
  }
}
void CollectControlIds(const std::vector<res::DialogNode>& nodes, std::multiset<int>& ids) {
  for (const auto& n : nodes) {
    if (n.id > 0) ids.insert(n.id);
    CollectControlIds(n.children, ids);
  }
}

std::set<std::string> Names(const char* lang, const char* folder) {
  std::set<std::string> out;
  std::string prefix = std::string(lang) + "/" + folder + "/";
  for (std::string_view p : res::FilesUnder(prefix)) out.insert(std::string(p.substr(prefix.size())));
  return out;
}

TEST(UiResources, EveryFileParsesAndBothLanguagesAgree) {
  for (const char* folder : {"menus", "accel", "dialogs"}) {
    EXPECT_EQ(Names("en", folder), Names("ja", folder)) << folder << " differ between the languages";
    for (const std::string& name : Names("en", folder)) {
      SCOPED_TRACE(std::string(folder) + "/" + name);
      std::uint32_t id = static_cast<std::uint32_t>(std::stoul(name));
      std::string err;
      if (std::string(folder) == "menus") {
        auto en = res::LoadMenuResource(id, 1033, &err);
        ASSERT_TRUE(en) << err;
        auto ja = res::LoadMenuResource(id, 1041, &err);
        ASSERT_TRUE(ja) << err;
        std::multiset<std::uint32_t> a, b;
        CollectMenuIds(*en, a);
        CollectMenuIds(*ja, b);
        EXPECT_EQ(a, b);
        EXPECT_NE(ui::Menu::Load(id, 1041), nullptr);
      } else if (std::string(folder) == "accel") {
        auto en = res::LoadAccelResource(id, 1033, &err);
        ASSERT_TRUE(en) << err;
        auto ja = res::LoadAccelResource(id, 1041, &err);
        ASSERT_TRUE(ja) << err;
        EXPECT_EQ(en->size(), ja->size());
      } else {
        auto en = res::LoadDialogResource(id, 1033, &err);
        ASSERT_TRUE(en) << err;
        auto ja = res::LoadDialogResource(id, 1041, &err);
        ASSERT_TRUE(ja) << err;
        std::multiset<int> a, b;
        CollectControlIds(en->nodes, a);
        CollectControlIds(ja->nodes, b);
        EXPECT_EQ(a, b);
      }
    }
  }
}

}  // namespace
