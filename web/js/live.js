// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A live class: the page's MQTT client (MQTT.js, `mqtt`, joined before the
// page's own scripts) bound to the core's class. The core decides what is
// sent, what a student's Form4 replays and what is shown and said; here are
// only the connection, the box that asks for it and the menu's items.

// The class the page is in: {teacher, name, topic, client, connected,
// following, started (the core's class exists), waiting (a message come
// before Form4)}; null when in none.
TC.live = null;

TC.refusedText = 'Nome della classe o password non accettati dal server.';

// The page's own server when it was served by one (the class server serves
// both), else nothing to offer.
TC.liveServer = function () {
  if (!/^https?:$/.test(location.protocol))
    return '';
  return (location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/';
};

// The box of a class to lead or follow: a promise of {server, name, secret},
// or null if the user cancels. Nothing in it is kept anywhere.
TC.askLive = function (teacher, name) {
  var box = document.getElementById('live');
  var server = document.getElementById('live-server');
  var cls = document.getElementById('live-class');
  var secret = document.getElementById('live-secret');
  box.querySelector('.title').textContent = teacher ? 'Conduci la lezione in diretta' : 'Segui la lezione in diretta';
  document.getElementById('live-secret-label').textContent =
    teacher ? "Password dell'insegnante:" : 'Codice degli studenti:';
  secret.inputMode = teacher ? 'text' : 'numeric';
  server.value = server.value || TC.liveServer();
  cls.value = name || cls.value;
  secret.value = '';
  var back = document.activeElement;
  box.returnValue = '';
  return new Promise(function (resolve) {
    box.addEventListener('close', function () {
      TC.focusBack(back);
      var answer = { server: server.value.trim(), name: cls.value, secret: secret.value };
      secret.value = '';
      resolve(box.returnValue === 'ok' ? answer : null);
    }, { once: true });
    box.showModal();
    (!server.value ? server : !cls.value ? cls : secret).focus();
  });
};

TC.joinLive = async function (teacher, name) {
  var answer = await TC.askLive(teacher, name);
  if (!answer)
    return;
  var topic = Module.ccall('tc_live_topic', 'string', ['string'], [answer.name]);
  if (!topic)
    return; // the box's own check lets no such name through
  TC.leaveLive();
  var live = TC.live = { teacher: teacher, name: answer.name, topic: topic, connected: false, following: true,
                         started: false, waiting: null };
  var client;
  try {
    // MQTT 5: a publish or a subscription the broker refuses is said so.
    client = live.client = mqtt.connect(answer.server, {
      username: teacher ? 'insegnante' : 'studenti', password: answer.secret, protocolVersion: 5, clean: true,
      reconnectPeriod: 1000, connectTimeout: 15000 });
  } catch (e) {
    TC.live = null;
    TC.tell('Indirizzo del server non valido: ' + answer.server);
    return;
  }
  var mine = function () { return TC.live === live; };
  // The connection and, for a student, the teacher's messages go to the
  // core only once Form4 is there: its drawing needs the calibration.
  if (teacher || TC.screens[2].focusDone)
    TC.startLive();
  client.on('connect', function () {
    if (!mine())
      return;
    client.options.reconnectPeriod = 1000;
    // A teacher reads the class's topic too: its retained lesson is taken up
    // again when the teacher's page was reloaded.
    if (teacher)
      client.subscribe('$SYS/broker/clients/connected', { qos: 0 });
    client.subscribe(topic, { qos: 1 }, function (err, granted) {
      if (err || (granted && granted.some(function (g) { return (g.qos & 0x80) !== 0; })))
        TC.liveRefused(live);
    });
    live.connected = true;
    if (live.started)
      TC.enter('tc_live_connection', ['number'], [1]);
  });
  // Each try again waits twice as long, up to half a minute: a whole class
  // calling a server that restarts does not all knock at once.
  client.on('reconnect', function () {
    client.options.reconnectPeriod = Math.min(2 * client.options.reconnectPeriod, 30000);
  });
  client.on('close', function () {
    if (!mine() || !live.connected)
      return;
    live.connected = false;
    // The core says so; with the caption cut short on a narrow title bar, its
    // words stay in the status line until the link is back.
    if (live.started)
      TC.enter('tc_live_connection', ['number'], [0]).then(function () { clearTimeout(TC.statusTimer); });
  });
  client.on('error', function (e) {
    // Refused at the door: a wrong password or code (4, 5; 134, 135 in MQTT 5).
    if (mine() && [4, 5, 134, 135].indexOf(e && e.code) >= 0)
      TC.liveRefused(live);
  });
  client.on('message', function (t, payload) {
    if (!mine())
      return;
    if (teacher && t === '$SYS/broker/clients/connected')
      TC.enter('tc_live_clients', ['number'], [parseInt(payload.toString(), 10) || 0]);
    else if (t === topic)
      TC.liveArrived(payload);
  });
};

TC.startLive = function () {
  var live = TC.live;
  if (!live || live.started)
    return;
  live.started = true;
  TC.enter('tc_live_start', ['number', 'string'], [live.teacher ? 1 : 0, live.name]);
  if (live.connected)
    TC.enter('tc_live_connection', ['number'], [1]);
  if (live.waiting) {
    TC.liveArrived(live.waiting);
    live.waiting = null;
  }
};

// Every message is the whole lesson so far: before Form4, the last is enough.
TC.liveArrived = function (bytes) {
  var live = TC.live;
  live.arrived = (live.arrived || 0) + 1;
  if (!live.started)
    live.waiting = bytes;
  else
    TC.enter('tc_live_arrived', ['array', 'number'], [bytes, bytes.length]);
};

// The teacher's lesson so far, retained for whoever joins later; while the
// link is down the core sends it again once it is back.
TC.livePublish = function (bytes) {
  var live = TC.live;
  if (!live || !live.teacher || !live.connected)
    return;
  live.client.publish(live.topic, new TextDecoder().decode(bytes), { qos: 1, retain: true }, function (err) {
    // A class the teacher's account may not write: the wrong class's name.
    if (err && err.code === 135)
      TC.liveRefused(live);
  });
};

TC.liveRefused = function (live) {
  if (TC.live !== live)
    return;
  TC.leaveLive();
  TC.tell(TC.refusedText);
};

TC.leaveLive = function () {
  var live = TC.live;
  if (!live)
    return;
  TC.live = null;
  live.client.end(true);
  if (live.started)
    TC.enter('tc_live_end');
};

TC.setFollowing = function (on) {
  TC.live.following = on;
  TC.enter('tc_live_following', ['number'], [on ? 1 : 0]);
};

TC.wireLive = function () {
  var box = document.getElementById('live');
  box.querySelector('.cancel').addEventListener('click', function () { box.close(''); });
  // A student's Form4, there at last, follows the class joined before.
  var show = TC.show;
  TC.show = function (screen) {
    show(screen);
    if (screen === 2)
      TC.startLive();
  };
  // The class's own address: the page's, with "#classe=<nome>" (or
  // "?classe=<nome>") after it, asks for the code once the page is up.
  var m = /[#?&]classe=([^&#]*)/.exec(location.search + location.hash);
  if (m)
    TC.queue.then(function () { TC.joinLive(false, decodeURIComponent(m[1])); });
};

tracciacurve.live = function () {
  var l = TC.live;
  return l && { teacher: l.teacher, name: l.name, connected: l.connected, following: l.following,
                started: l.started, arrived: l.arrived || 0 };
};
