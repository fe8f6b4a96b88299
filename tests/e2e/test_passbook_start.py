"""passbook.exe under Wine: the first things a user sees, with and without a
store beside the program. A template for the program's flows."""

import unittest

import harness
from harness import OK

OLIVE = (164, 185, 127)


class Start(unittest.TestCase):
    def test_without_a_store_it_says_so_and_ends_with_0(self):
        with harness.App(harness.PASSBOOK) as app:
            box = app.wait_box()
            self.assertEqual((box.caption, box.text), ("信息：", "数据库打开失败"))
            self.assertTrue(box.icon)
            box.answer(OK)
            self.assertEqual(app.wait_exit(), 0)

    def test_first_run_shows_the_setup_window_in_the_olive_skin(self):
        app = harness.App(harness.PASSBOOK)
        self.addCleanup(app.stop)
        app.wine(harness.EDBTOOL, "create", "zhsj.edb")
        app.start(cwd=harness.OUT)  # the store is found beside the program all the same
        setup = app.wait_window("设置密码")
        self.assertEqual(setup.rect[2:], [320, 237])
        setup.wait_focus("编辑框_密码1")
        self.assertEqual(setup.control("按钮1").rect, [225, 160, 64, 36])
        shot = app.screenshot("setup")
        x, y, w, h = setup.control("按钮1").screen
        self.assertEqual(shot.pixel(x + w // 2, y), OLIVE)
        self.assertIsNone(app.find("帐号管理"), "the list stays hidden during the sign-in")
        setup.close()
        self.assertEqual(app.wait_exit(), 0)


if __name__ == "__main__":
    harness.main()
