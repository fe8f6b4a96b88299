"""The toolkit's demo program (demo.cpp) in the harness: the main window's
handlers log what happened into the 编辑框_日志 box."""

import harness
from harness import wait_for

MAIN = "demo"


class Demo(harness.App):
    def __init__(self):
        super().__init__(harness.DEMO)

    def start(self):
        super().start()
        self.main = self.wait_window(id=MAIN)
        return self

    def log(self):
        return [line for line in self.main.control("编辑框_日志").text.split("\r\n") if line]

    def wait_log(self, line):
        return wait_for(f"log line {line!r}", lambda: line in self.log())

    def click(self, button):
        self.main.control(button).click()
