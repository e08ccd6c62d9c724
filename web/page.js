// The page around the game: the loading line, the canvas's size and the few browser habits
// that would get in a player's way. Runs before dromlin.js, which reads Module. On
// versus.html (data-versus) the same game plays against a friend through the server that
// served the page, and the line shows the room, the waiting and the battle's end.
"use strict";

(function () {
    const canvas = document.getElementById("game");
    const status = document.getElementById("status");

    const versus = document.body.hasAttribute("data-versus");
    // Set once the game cannot run; the loading line no longer overwrites it.
    let lastWord = null;
    // Set once the game shows its own versus lines, which the loading line's end must not clear.
    let versusLine = false;

    function show(text) {
        status.textContent = text;
        status.hidden = text === "";
    }

    function stop(text) {
        lastWord = text;
        show(text);
    }

    // "Downloading data... (loaded/total)" from the data package, as a percentage.
    function loadingLine(text) {
        const bytes = /\((\d+)\/(\d+)\)/.exec(text);
        if (bytes && Number(bytes[2]) > 0) {
            return "Loading Dromlin… " + Math.floor((100 * Number(bytes[1])) / Number(bytes[2])) + " %";
        }
        return text === "" ? "" : "Loading Dromlin…";
    }

    // The canvas gets a pixel for every device pixel it covers, so the picture stays sharp;
    // GLUT's reshape then letterboxes the game's picture into it, as in a desktop window.
    function fitCanvas() {
        const ratio = window.devicePixelRatio || 1;
        const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
        const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
        Module._dromlin_resize(width, height);
    }

    // The right button gives orders, not the browser's menu.
    canvas.addEventListener("contextmenu", (event) => event.preventDefault());

    // GLUT's key table in the browser has no backquote, which drops every route.
    window.addEventListener("keydown", (event) => {
        const ready = typeof Module._dromlin_key === "function";
        if (ready && event.key === "`" && !event.ctrlKey && !event.altKey && !event.metaKey) {
            event.preventDefault();
            Module._dromlin_key(96);
        }
    });

    // The versus line, with the room's link as a link the player can copy or open.
    function showVersusLine(line, link, started) {
        versusLine = true;
        document.body.classList.toggle("before-battle", !started);
        if (lastWord !== null) {
            return;
        }
        const at = /^https?:\/\//.test(link) ? line.indexOf(link) : -1;
        if (at < 0) {
            show(line);
            return;
        }
        const anchor = document.createElement("a");
        anchor.href = link;
        anchor.target = "_blank";
        anchor.rel = "noopener";
        anchor.textContent = link;
        // One box for the whole line: the status centres its children as flex items, which
        // would drop the blanks between the text and the link.
        const whole = document.createElement("span");
        whole.append(line.slice(0, at), anchor, line.slice(at + link.length));
        status.replaceChildren(whole);
        status.hidden = false;
    }

    window.Module = {
        canvas: canvas,
        setStatus: (text) => lastWord === null && !versusLine && show(loadingLine(text)),
        postRun: [
            () => {
                fitCanvas();
                window.addEventListener("resize", fitCanvas);
            },
        ],
        onAbort: () => stop("Dromlin stopped: see the browser's console."),
    };

    window.addEventListener("error", () => stop("Dromlin stopped: see the browser's console."));

    // The server is the page's own; the room's code follows the #. Another code typed into
    // the address bar is another battle: the page starts afresh.
    if (versus) {
        window.Module.arguments = ["--versus", location.host, location.hash.slice(1)];
        window.Module.showVersusLine = showVersusLine;
        window.addEventListener("hashchange", () => location.reload());
    }

    // The game draws through WebGL; without it there is only this line to show.
    if (!document.createElement("canvas").getContext("webgl")) {
        stop("Dromlin needs WebGL, which this browser does not offer.");
        window.Module.noInitialRun = true;
    }
})();
