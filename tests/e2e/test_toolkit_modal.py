"""Modal nesting, deferred destroy, will-be-destroyed, message boxes and the
ends of the program, on the toolkit's demo program."""

import time
import unittest

import harness
from demo_app import Demo
from harness import CANCEL, OK, wait_for


class Modal(unittest.TestCase):
    def setUp(self):
        self.app = Demo().start()
        self.addCleanup(self.app.stop)

    def test_two_levels_disable_what_lies_behind_and_return_in_order(self):
        app = self.app
        app.click("按钮_模态")
        one = app.wait_window(id="level1")
        self.assertEqual(one.caption, "第一层")
        wait_for("demo disabled", lambda: not app.main.enabled)
        one.wait_focus("按钮_第二层")

        one.control("按钮_第二层").click()
        two = app.wait_window(id="level2")
        wait_for("level1 disabled", lambda: not one.enabled)
        self.assertFalse(app.main.enabled)
        app.screenshot("two-levels")

        # Loading an open window only brings it forward: no second instance.
        two.control("按钮_再开第一层").click()
        app.wait_log("level1 again returned")
        self.assertEqual(1, [w["id"] for w in app.windows()].count("level1"))
        self.assertEqual(1, app.log().count("level1 created"))

        # The modal window on top keeps the input (the clicked button has the focus).
        wait_for("level2 active", lambda: two.foreground)
        two.wait_focus("按钮_再开第一层")
        app.key("Escape")
        two.wait_gone()
        app.wait_log("level2 returned")
        log = app.log()
        self.assertLess(log.index("level2 gone"), log.index("level2 returned"))
        wait_for("level1 enabled", lambda: one.enabled)
        self.assertFalse(app.main.enabled)

        # Destroy from code waits for the running handler to return.
        one.control("按钮_关闭").click()
        app.wait_log("level1 returned")
        log = app.log()
        self.assertLess(log.index("level1 destroy requested"), log.index("level1 gone"))
        self.assertLess(log.index("level1 gone"), log.index("level1 returned"))
        self.assertFalse(one.exists())
        wait_for("demo enabled", lambda: app.main.enabled)
        wait_for("demo active again", lambda: app.main.foreground)
        self.assertEqual(app.main.focus(), "按钮_模态")

    def test_message_box_is_task_modal_and_answers_ok_or_cancel(self):
        app = self.app
        for answer, logged in ((OK, "box 0"), (CANCEL, "box 1"), ("Escape", "box 1")):
            before = app.log().count(logged)
            app.click("按钮_消息")
            box = app.wait_box()
            self.assertEqual(box.caption, "信息：")
            self.assertEqual(box.text, "要继续吗？")
            self.assertEqual(set(box.buttons), {OK, CANCEL})
            self.assertFalse(app.main.enabled, "the box is modal to the program")
            if answer == "Escape":
                app.key("Escape")
                wait_for("the box to go", lambda: not app.boxes())
            else:
                box.answer(answer)
            wait_for(logged, lambda: app.log().count(logged) == before + 1)
            wait_for("demo enabled", lambda: app.main.enabled)
            wait_for("demo active again", lambda: app.main.foreground)
            self.assertEqual(app.main.focus(), "按钮_消息")

    def test_closing_runs_will_be_destroyed_first_then_ends_with_0(self):
        for how in ("close box", "alt+F4", "Escape"):
            with self.subTest(how=how):
                app = self.app
                if how == "close box":
                    app.main.close()
                else:
                    app.main.wait_focus("编辑框_普通")
                    app.key(how)
                box = app.wait_box()
                self.assertEqual(box.text, "演示窗口将关闭")
                self.assertTrue(app.main.exists(), "the window goes only after the handler")
                box.answer(OK)
                self.assertEqual(app.wait_exit(), 0)
                app.stop()
                self.app = Demo().start()
                self.addCleanup(self.app.stop)

    def test_fatal_error_report_then_a_nonzero_end(self):
        self.app.click("按钮_致命")
        box = self.app.wait_box()
        self.assertEqual(box.caption, "错误")
        self.assertEqual(box.text, "运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n")
        self.assertTrue(box.icon)
        self.assertEqual(list(box.buttons), [OK])
        box.answer(OK)
        self.assertEqual(self.app.wait_exit(), 1)
        self.assertEqual([], self.app.windows())

    def test_exit_ends_at_once_with_its_code(self):
        self.app.click("按钮_退出")
        self.assertEqual(self.app.wait_exit(), 3)
        time.sleep(0.2)
        self.assertEqual([], self.app.windows(), "no window stays, no box is shown")


if __name__ == "__main__":
    harness.main()
