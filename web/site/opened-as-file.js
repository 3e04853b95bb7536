// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// A page opened as a file runs none of its modules, so the drill would never come: the teacher
// is told to open pikomaru.html, the page in one file, or to serve the folder. A plain script,
// since it must run where modules do not.
if (location.protocol === 'file:') {
  const notice = document.getElementById('Trouble');
  notice.textContent = 'ぴこまるは ファイルとして ひらくと うごきません。\n' +
    '先生へ：おなじ フォルダの pikomaru.html を ひらいて ください。ひとつの ファイルで、サーバーも ネットも なしに うごきます' +
    '（USB メモリや きょうゆう フォルダに コピーしても うごきます）。\n' +
    'この フォルダを ウェブサーバーに おいて、http:// か https:// の アドレスで ひらいても つかえます' +
    '（ためすだけなら フォルダの なかで python3 -m http.server を うごかし、http://localhost:8000/ を ひらきます）。';
  notice.hidden = false;
}
