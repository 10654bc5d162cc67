#!/usr/bin/python3
"""Drives the web remote's page in headless Chromium for the browser test and the
measured run. Signs in with the password from ORVANE_WEB_PASSWORD (never printed), then
reads one command a line on stdin and answers one line on stdout:

  press <caption>            clicks the input button; "pressed <epoch ms>"
  watch <id>                 notes the time of each change of the element's text
  wait <id> <ms> <text...>   waits for the text; "seen <epoch ms of the change>" or
                             "timeout <text shown>"
  slide <id> <value>         moves the slider there and lets it go; "slid <epoch ms>"
  quit
"""
import os
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait


def say(text):
    print(text, flush=True)


def main():
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-dev-shm-usage", "--no-first-run"):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get(sys.argv[1])
        wait = WebDriverWait(driver, 10)
        wait.until(lambda d: d.find_element(By.ID, "signin").is_displayed())
        driver.find_element(By.ID, "password").send_keys(os.environ["ORVANE_WEB_PASSWORD"])
        driver.find_element(By.CSS_SELECTOR, "#signin button").click()
        wait.until(lambda d: d.find_element(By.ID, "remote").is_displayed())
        wait.until(lambda d: d.find_element(By.ID, "link").text == "Connected")
        wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#inputs button"))
        say("ready")
        for line in sys.stdin:
            words = line.split()
            if not words:
                continue
            if words[0] == "quit":
                break
            if words[0] == "press":
                caption = " ".join(words[1:])
                at = driver.execute_script(
                    "const b = [...document.querySelectorAll('#inputs button')]"
                    ".find((b) => b.textContent === arguments[0]);"
                    "const t = performance.timeOrigin + performance.now(); b.click(); return t;",
                    caption)
                say("pressed %.3f" % at)
            elif words[0] == "watch":
                driver.execute_script(
                    "const e = document.getElementById(arguments[0]); window.changes = [];"
                    "new MutationObserver(() => window.changes.push([e.textContent,"
                    " performance.timeOrigin + performance.now()]))"
                    ".observe(e, {childList: true, characterData: true, subtree: true});",
                    words[1])
                say("watching")
            elif words[0] == "wait":
                element, limit, text = words[1], int(words[2]) / 1000, " ".join(words[3:])
                end = time.monotonic() + limit
                shown = None
                while time.monotonic() < end:
                    shown = driver.find_element(By.ID, element).text
                    if shown == text:
                        break
                    time.sleep(0.005)
                if shown == text:
                    times = driver.execute_script(
                        "return (window.changes || []).filter((c) => c[0] === arguments[0])"
                        ".map((c) => c[1]);", text)
                    say("seen %.3f" % (times[-1] if times else 0))
                else:
                    say("timeout %s" % shown)
            elif words[0] == "slide":
                at = driver.execute_script(
                    "const s = document.getElementById(arguments[0]); s.value = arguments[1];"
                    "const t = performance.timeOrigin + performance.now();"
                    "s.dispatchEvent(new Event('input')); s.dispatchEvent(new Event('change'));"
                    "return t;", words[1], words[2])
                say("slid %.3f" % at)
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
