// Plays the web page in headless Chromium as a player would and keeps screenshots of it for
// web_test.sh to judge. Usage:
//   node drive.mjs URL OUT_DIR BARS DRAG_X1 DRAG_Y1 DRAG_X2 DRAG_Y2 GOAL_X GOAL_Y HELP_X HELP_Y
// Positions are on the game's 1024 x 768 screen; the page is 1024 + 2 x BARS pixels wide,
// so the picture sits between black bars and every pointer position must be mapped.
// Writes shot-NAME.png (walkN: N steps after the order) and pace.txt ("steps seconds frames"
// over ten seconds of play), then seams-1280x800.png of the page at 1280 x 800 in the all-teams
// view.
import { writeFileSync } from "node:fs";
import { playInChromium } from "./chromium.mjs";

const [url, outDir, barsArg, ...plan] = process.argv.slice(2);
const bars = Number(barsArg);
const [dragX1, dragY1, dragX2, dragY2, goalX, goalY, helpX, helpY] = plan.map(Number);
const screenWidth = 1024;
const screenHeight = 768;
const timeLimitMs = 150000;
// Walk shots every this many steps after the order, up to the last.
const walkShotSteps = 150;
const walkSteps = 900;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const chromium = { what: "the web page's test", timeLimitMs,
                   width: screenWidth + 2 * bars, height: screenHeight };
await playInChromium(chromium, async (browser, page, problems) => {
    await page.goto(url);

    const steps = () => page.evaluate(() => (window.Module && Module._dromlin_steps ? Module._dromlin_steps() : 0));
    const shot = (name) => page.screenshot({ path: `${outDir}/shot-${name}.png` });
    const move = (x, y) => page.mouse.move(x + bars, y);
    async function click(x, y, button = "left") {
        await move(x, y);
        await page.mouse.down({ button });
        await sleep(50);
        await page.mouse.up({ button });
        await sleep(300);
    }
    async function key(name) {
        await page.keyboard.press(name);
        await sleep(300);
    }

    await page.waitForFunction(() => window.Module && Module._dromlin_steps && Module._dromlin_steps() > 30, { timeout: 30000 });
    const loading = await page.$eval("#status", (status) => !status.hidden);
    if (loading) problems.push("the loading line still shows while the battle runs");
    await shot("start");

    // The orders come first, while the soldiers still stand on their start tiles: the page's
    // battle is seeded by the time, and a few seconds later it may have moved anyone anywhere.
    // The soldiers walk in game time, so they are looked at after set numbers of steps,
    // however fast this machine draws.
    await move(dragX1, dragY1);
    await page.mouse.down();
    for (let step = 1; step <= 4; ++step) {
        await move(dragX1 + ((dragX2 - dragX1) * step) / 4, dragY1 + ((dragY2 - dragY1) * step) / 4);
    }
    await page.mouse.up();
    await sleep(100);
    await click(goalX, goalY, "right");
    const ordered = await steps();
    for (let after = walkShotSteps; after <= walkSteps; after += walkShotSteps) {
        await page.waitForFunction((target) => Module._dromlin_steps() >= target, { timeout: 0, polling: 50 }, ordered + after);
        await shot(`walk${after}`);
    }

    await key("r");
    await shot("blue");
    await key("r");
    await key("r");

    await click(helpX, helpY);
    await shot("help");
    // The battle is paused under the help picture: its step counter stands still.
    const helpSteps = await steps();
    await sleep(1000);
    const helpStepsLater = await steps();
    if (helpStepsLater !== helpSteps) {
        problems.push(`the battle ran ${helpStepsLater - helpSteps} steps under the help picture`);
    }
    await click(500, 700);
    await shot("closed");

    // Ten seconds of real time. Steps and frames are read together, between two frames.
    const pace = () => page.evaluate(() => [Module._dromlin_steps(), Module._dromlin_frames(), performance.now()]);
    const [steps0, frames0, start] = await pace();
    await sleep(10000);
    const [steps1, frames1, end] = await pace();
    // A page of another shape scales the picture; the all-teams view shows the bare floor.
    await page.setViewport({ width: 1280, height: 800 });
    await sleep(500);
    await key("r");
    await key("r");
    await page.screenshot({ path: `${outDir}/seams-1280x800.png` });

    writeFileSync(`${outDir}/pace.txt`, `${steps1 - steps0} ${((end - start) / 1000).toFixed(3)} ${frames1 - frames0}\n`);
});
