// Headless Chromium for the page's tests: WebGL from SwiftShader, Chromium's software GL, on a
// machine without a GPU; a watchdog; and a page whose errors, in its scripts or its console,
// fail the test. `play(browser, page, problems)` plays it; a problem it pushes fails it too.
import puppeteer from "puppeteer-core";

export async function playInChromium({ what, width, height, timeLimitMs }, play) {
    const browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
        headless: true,
        args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
               "--ignore-gpu-blocklist", `--window-size=${width},${height}`],
    });
    const watchdog = setTimeout(() => {
        console.error(`FAIL: ${what} ran out of time`);
        process.exit(1);
    }, timeLimitMs);
    try {
        const page = await browser.newPage();
        const problems = [];
        page.on("pageerror", (error) => problems.push(String(error)));
        page.on("console", (message) => {
            if (message.type() === "error") problems.push(message.text());
        });
        await page.setViewport({ width, height });
        await play(browser, page, problems);
        if (problems.length > 0) {
            console.error(`FAIL: the page reported: ${problems.join(" | ")}`);
            process.exitCode = 1;
        }
    } catch (error) {
        console.error(`FAIL: ${error.message.split("\n")[0]}`);
        process.exitCode = 1;
    } finally {
        clearTimeout(watchdog);
        await browser.close();
    }
}
