// Plays versus.html in headless Chromium as red, the player who opens the room, against
// another player that versus_web_test.sh starts once the room's code is known. Usage:
//   node versus.mjs URL SECOND_URL OUT_DIR BARS STEP DRAG_X1 DRAG_Y1 DRAG_X2 DRAG_Y2 GOAL_X GOAL_Y
//                   HELP_X HELP_Y
// URL is the page (…/versus.html), SECOND_URL the same from a second server; positions are on the game's 1024 x 768 screen, between
// bars BARS pixels wide. Writes link.txt (the room line's link) and room.txt (the room's line)
// as soon as the page shows it,
// shot-start.png, shot-walk300.png and shot-walk600.png (red's view so many steps after its
// order, after r, ` and g, which do nothing here), shot-help.png and help.txt (the steps the
// battle took in a second under the help picture), state.txt (the
// page's state line of step STEP, a turn's last) and after.txt (the steps the page took after
// the other player left and the line that said so). Then come the lines a battle ends with:
// it opens a room whose other player goes out of sync (sync-room.txt, sync-console.txt), a room
// on the second server and asks for it to be killed (kill-second.txt), asks for
// the first to be stopped (stop-server.txt), and writes ends.txt, the lines of a full room, an
// unknown room, a code of the wrong form, out of sync, the killed server and the stopped one.
import { writeFileSync } from "node:fs";
import { playInChromium } from "./chromium.mjs";

const [url, secondUrl, outDir, barsArg, stepArg, ...plan] = process.argv.slice(2);
const bars = Number(barsArg);
const keptStep = Number(stepArg);
const [dragX1, dragY1, dragX2, dragY2, goalX, goalY, helpX, helpY] = plan.map(Number);
const timeLimitMs = 150000;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const chromium = { what: "the versus page's test", timeLimitMs,
                   width: 1024 + 2 * bars, height: 768 };
await playInChromium(chromium, async (browser, page, problems) => {
    await page.goto(url);

    const line = () => page.$eval("#status", (status) => (status.hidden ? "" : status.textContent));
    const steps = () => page.evaluate(() => Module._dromlin_versus_steps());
    const move = (x, y) => page.mouse.move(x + bars, y);

    await page.waitForFunction(() => document.getElementById("status").textContent.startsWith("Room "),
                               { timeout: 30000, polling: 50 });
    await page.evaluate((step) => Module._dromlin_versus_keep(step), keptStep);
    // The script starts the other player once room.txt is there: it comes last.
    const link = await page.$eval("#status a", (anchor) => anchor.href);
    writeFileSync(`${outDir}/link.txt`, `${link}\n`);
    writeFileSync(`${outDir}/room.txt`, `${await line()}\n`);

    // The other player joins; the battle starts and runs in lockstep with it.
    await page.waitForFunction(() => Module._dromlin_versus_steps() >= 24, { timeout: 30000, polling: 50 });
    await page.screenshot({ path: `${outDir}/shot-start.png` });

    // A drag around red soldiers and a right click: the order goes to the server, which hands
    // it to both players for the turn two turns on.
    await move(dragX1, dragY1);
    await page.mouse.down();
    for (let part = 1; part <= 4; ++part) {
        await move(dragX1 + ((dragX2 - dragX1) * part) / 4, dragY1 + ((dragY2 - dragY1) * part) / 4);
    }
    await page.mouse.up();
    await sleep(100);
    await move(goalX, goalY);
    await page.mouse.down({ button: "right" });
    await sleep(50);
    await page.mouse.up({ button: "right" });
    const ordered = await steps();
    for (const key of ["r", "`", "g"]) {
        await page.keyboard.press(key);
    }
    for (const after of [300, 600]) {
        await page.waitForFunction((target) => Module._dromlin_versus_steps() >= target,
                                   { timeout: 60000, polling: 50 }, ordered + after);
        await page.screenshot({ path: `${outDir}/shot-walk${after}.png` });
    }

    // The help picture covers the battle, which goes on: the other player's does not wait.
    async function click(x, y) {
        await move(x, y);
        await page.mouse.down();
        await sleep(50);
        await page.mouse.up();
        await sleep(300);
    }
    await click(helpX, helpY);
    await page.screenshot({ path: `${outDir}/shot-help.png` });
    const helpSteps = await steps();
    await sleep(1000);
    writeFileSync(`${outDir}/help.txt`, `${(await steps()) - helpSteps}\n`);
    await click(500, 700);

    await page.waitForFunction(() => Module.ccall("dromlin_versus_kept", "string", [], []) !== "",
                               { timeout: 60000, polling: 100 });
    writeFileSync(`${outDir}/state.txt`,
                  `${await page.evaluate(() => Module.ccall("dromlin_versus_kept", "string", [], []))}\n`);

    // The other player stops at that step and leaves; the page says so and plays on alone.
    const left = await page.waitForFunction(() => {
        const text = document.getElementById("status").textContent;
        return text.startsWith("The other player left") && text;
    }, { timeout: 30000, polling: 50 });
    const leftLine = await left.jsonValue();
    await page.waitForFunction((target) => Module._dromlin_versus_steps() >= target,
                               { timeout: 30000, polling: 50 }, keptStep + 300);
    const after = (await steps()) - keptStep;
    writeFileSync(`${outDir}/after.txt`, `${after}\n${leftLine}\n`);

    // The lines a battle ends with, never a hang.
    const endLine = (target) => target.waitForFunction(() => {
        const status = document.getElementById("status");
        const text = status.hidden ? "" : status.textContent;
        return !/^(Loading|Connecting|Room |Waiting for the other player)/.test(text) && text;
    }, { timeout: 20000, polling: 50 }).then((text) => text.jsonValue());
    const ends = [];
    const endsFrom = performance.now();
    for (const target of [link, `${url}#2222222222`, `${url}#no-such-room`]) {
        const other = await browser.newPage();
        await other.goto(target);
        ends.push(await endLine(other));
        await other.close();
        // The first page, hidden behind the others, runs no frames: it must not fall silent.
        await page.bringToFront();
    }
    // A room whose other player nudges a soldier at a step (the script starts it on
    // sync-room.txt): the page ends there and puts its state of that step on the console.
    const synced = await browser.newPage();
    const syncErrors = [];
    synced.on("console", (message) => message.type() === "error" && syncErrors.push(message.text()));
    await synced.goto(url);
    await synced.waitForFunction(() => document.getElementById("status").textContent.startsWith("Room "),
                                 { timeout: 20000, polling: 50 });
    writeFileSync(`${outDir}/sync-room.txt`, `${await synced.$eval("#status", (status) => status.textContent)}\n`);
    ends.push(await endLine(synced));
    writeFileSync(`${outDir}/sync-console.txt`, `${syncErrors.join("\n")}\n`);
    await synced.close();
    await page.bringToFront();

    const lost = await browser.newPage();
    await lost.goto(secondUrl);
    await lost.waitForFunction(() => document.getElementById("status").textContent.startsWith("Room "),
                               { timeout: 20000, polling: 50 });
    writeFileSync(`${outDir}/kill-second.txt`, "\n");
    ends.push(await endLine(lost));
    await lost.close();
    console.log(`the end lines took ${Math.round(performance.now() - endsFrom)} ms`);
    await page.bringToFront();
    writeFileSync(`${outDir}/stop-server.txt`, "\n");
    ends.push(await endLine(page));
    writeFileSync(`${outDir}/ends.txt`, `${ends.join("\n")}\n`);
});
