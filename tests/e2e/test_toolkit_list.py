"""The virtual report list: 100,000 rows, reading rows across processes,
selection and double-clicks in the item area."""

import unittest

import harness
from demo_app import Demo
from harness import wait_for

LIST = "超级列表框1"


class List(unittest.TestCase):
    def setUp(self):
        self.app = Demo().start()
        self.addCleanup(self.app.stop)
        self.list = self.app.main.control(LIST)

    def test_hundred_thousand_rows(self):
        self.app.click("按钮_填充")
        wait_for("the fill", lambda: any(l.startswith("filled 100000") for l in self.app.log()))
        got = self.list.list(0, 2)
        self.assertEqual(got["count"], 100000)
        self.assertEqual(got["headers"], ["网站", "账号", "备注"])
        self.assertEqual(got["widths"], [120, 200, 200])
        self.assertEqual(got["rows"], [["网站0", "账号0", "备注0"], ["网站1", "账号1", "备注1"]])
        self.assertEqual(self.list.rows(99999, 5), [["网站99999", "账号99999", "备注99999"]])
        self.list.select(99999)
        self.app.screenshot("last-rows")
        wait_for("row 99999 selected", lambda: self.list.list(0, 0)["selected"] == 99999)

    def test_double_click_on_a_row_and_below_the_rows(self):
        x, y, w, h = self.list.row_rect(1)
        harness.xdotool("mousemove", x + 40, y + h // 2, "click", "--repeat", 2, "--delay", 60, 1)
        self.app.wait_log("list dblclick 1 value 1001")
        self.assertEqual(self.list.list(0, 0)["selected"], 1)
        self.app.screenshot("row-selected")

        # The empty item area below the rows is part of the list too.
        self.list.double_click(dy=self.list.screen[3] - 20)
        wait_for("a second double-click",
                 lambda: sum(l.startswith("list dblclick") for l in self.app.log()) == 2)

    def test_selection_is_not_drawn_without_focus(self):
        x, y, w, h = self.list.row_rect(0)
        self.list.mouse_click(dx=40, dy=y - self.list.screen[1] + h // 2)
        focused = self.app.screenshot("selected-focused")
        self.app.main.control("编辑框_普通").mouse_click()
        self.app.main.wait_focus("编辑框_普通")
        unfocused = self.app.screenshot("selected-unfocused")
        px = (x + w - 60, y + h // 2)  # inside the row, right of the text
        self.assertNotEqual(focused.pixel(*px), (255, 255, 255), "selection drawn with focus")
        self.assertEqual(unfocused.pixel(*px), (255, 255, 255), "no selection without focus")


if __name__ == "__main__":
    harness.main()
