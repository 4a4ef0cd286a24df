"""Debian's Chromium, headless, driven through Debian's chromedriver: the
browser every page test and page benchmark starts."""

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def new_driver(*arguments: str, browser_log: bool = False) -> webdriver.Chrome:
    """A headless Chromium with ARGUMENTS added to its command line; with
    BROWSER_LOG, the page's console messages can be read back."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", *arguments):
        options.add_argument(argument)
    if browser_log:
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
