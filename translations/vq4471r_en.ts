<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>vq::AboutWindow</name>
    <message>
        <source>关于本软件</source>
        <translation>About this program</translation>
    </message>
    <message>
        <source>    VQ4471写频软件</source>
        <translation>    VQ4471 programming software</translation>
    </message>
    <message>
        <source>本软件是专供用户，对Tarvelon的VQ4471对讲机，编写工作频率及参数的专用软件      </source>
        <translation>This program sets the working frequencies and parameters of Tarvelon VQ4471 radios for their users.      </translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>系统信息(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source> 技术咨询： </source>
        <translation> Support: </translation>
    </message>
    <message>
        <source>      版本 B </source>
        <translation>      Version B </translation>
    </message>
    <message>
        <source>信道数据库：</source>
        <translation>Channel database: </translation>
    </message>
</context>
<context>
    <name>vq::AirRulesDialog</name>
    <message>
        <source>频率规则</source>
        <translation>Frequency Rules</translation>
    </message>
    <message>
        <source>不检查</source>
        <translation>No check</translation>
    </message>
    <message>
        <source>所在地区(&amp;R)：</source>
        <translation>&amp;Region:</translation>
    </message>
    <message>
        <source>无执照(&amp;N)</source>
        <translation>&amp;No licence</translation>
    </message>
    <message>
        <source>业余无线电执照(&amp;A)</source>
        <translation>&amp;Amateur radio licence</translation>
    </message>
    <message>
        <source>持有：</source>
        <translation>Holding:</translation>
    </message>
    <message>
        <source>适用的频率规则</source>
        <translation>Rules that apply</translation>
    </message>
    <message>
        <source>频段</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>频率 (MHz)</source>
        <translation>Frequency (MHz)</translation>
    </message>
    <message>
        <source>发射</source>
        <translation>Transmit</translation>
    </message>
    <message>
        <source>依据</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>核对日期</source>
        <translation>Checked</translation>
    </message>
    <message>
        <source>，每 %1 kHz 一个信道</source>
        <translation>, a channel every %1 kHz</translation>
    </message>
    <message>
        <source>只能接收</source>
        <translation>Receive only</translation>
    </message>
    <message>
        <source>业余执照</source>
        <translation>Amateur licence</translation>
    </message>
    <message>
        <source>无需执照</source>
        <translation>No licence needed</translation>
    </message>
    <message>
        <source>，收发同频</source>
        <translation>, simplex</translation>
    </message>
</context>
<context>
    <name>vq::BandChartWindow</name>
    <message>
        <source>频段图</source>
        <translation>Band Chart</translation>
    </message>
    <message>
        <source>每个信道在其接收频率处有一个标记，发射频率不同时以三角形标出；不符合频率规则的信道为红色菱形。</source>
        <translation>Each channel has a mark at its receive frequency and a triangle at its transmit frequency when that differs; channels against the frequency rules are red diamonds.</translation>
    </message>
    <message>
        <source>导出(&amp;E)...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>PNG 图像 (*.png);;SVG 图形 (*.svg)</source>
        <translation>PNG image (*.png);;SVG drawing (*.svg)</translation>
    </message>
</context>
<context>
    <name>vq::CardPrinter</name>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
</context>
<context>
    <name>vq::ChangeManyDialog</name>
    <message>
        <source>批量修改</source>
        <translation>Change Many</translation>
    </message>
    <message>
        <source>修改所选的%1个信道，只修改打勾的项目：</source>
        <translation>Change the %1 selected channels; only ticked items change:</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>如 12.5，留空则各信道相同</source>
        <translation>e.g. 12.5; empty for the same on every channel</translation>
    </message>
    <message>
        <source>频率步进(kHz)</source>
        <translation>Frequency step (kHz)</translation>
    </message>
    <message>
        <source>修改%1</source>
        <translation>Change %1</translation>
    </message>
</context>
<context>
    <name>vq::ChannelCard</name>
    <message>
        <source>VQ4471R 信道表</source>
        <translation>VQ4471R channel list</translation>
    </message>
    <message>
        <source>&lt;p&gt;日期：%1年%2月%3日&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;数据库：%4&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;共%5个信道&lt;/p&gt;</source>
        <translation>&lt;p&gt;Date: %1-%2-%3&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;Database: %4&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;%5 channels&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>vq::CompareDialog</name>
    <message>
        <source>与对讲机比较</source>
        <translation>Compare with Radio</translation>
    </message>
    <message>
        <source>对讲机与计划有%1处不同：</source>
        <translation>The radio differs from the plan in %1 places:</translation>
    </message>
    <message>
        <source>对讲机与计划的不同之处</source>
        <translation>Differences between radio and plan</translation>
    </message>
    <message>
        <source>信道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>对讲机</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>采用对讲机的信道(&amp;T)</source>
        <translation>&amp;Take the Radio&apos;s Channels</translation>
    </message>
    <message>
        <source>写入计划(&amp;W)</source>
        <translation>&amp;Write the Plan</translation>
    </message>
</context>
<context>
    <name>vq::HistoryWindow</name>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>第%1信道 当时</source>
        <translation>Channel %1 then</translation>
    </message>
    <message>
        <source>第%1信道 现在</source>
        <translation>Channel %1 now</translation>
    </message>
    <message>
        <source>快照列表</source>
        <translation>Snapshots</translation>
    </message>
    <message>
        <source>与当前信道的差别</source>
        <translation>Differences from the channels now</translation>
    </message>
</context>
<context>
    <name>vq::InstructionsWindow</name>
    <message>
        <source>操作说明</source>
        <translation>Instructions</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>操作说明</source>
        <comment>the whole instructions text</comment>
        <translation>Instructions

1. With the programming cable supplied, connect the radio&apos;s (switched off) earphone/microphone socket to the computer&apos;s serial port 1 (or serial port 2).
2. Switch the radio on; the status line shows &quot;Radio ready...&quot;.
3. To program: click the menu item &quot;Write Channels&quot;.
4. To read: click the menu item &quot;Read Channels&quot;.
5. Files: &quot;Save File&quot; in the &quot;File&quot; menu saves the current frequencies (any file name, extension .doc); &quot;Open File&quot; loads a saved file again.
6. Ports: if needed, &quot;Select Port&quot; in the &quot;Settings&quot; menu changes the serial port in use.</translation>
    </message>
</context>
<context>
    <name>vq::MainForm</name>
    <message>
        <source>信道设置系统</source>
        <translation>Channel Setup</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>查找：输入任一字段中的文字</source>
        <translation>Find: type text from any field</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>信道表</source>
        <translation>Channel table</translation>
    </message>
    <message>
        <source>每行一个信道。F2 或回车编辑，F4 打开本列的选项，Alt+上/下 移动所选信道。</source>
        <translation>One channel per row. F2 or Enter edits, F4 opens the column&apos;s choices, Alt+Up/Down moves the selected channels.</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>改用USB串口 %1</source>
        <translation>Use USB serial %1</translation>
    </message>
    <message>
        <source>设为端口1的设备，并在此等待对讲机：%1</source>
        <translation>Make it the device of port 1 and wait for the radio there: %1</translation>
    </message>
</context>
<context>
    <name>vq::MainWindow</name>
    <message>
        <source>        文件(&amp;F)</source>
        <translation>        &amp;File</translation>
    </message>
    <message>
        <source>打开文件(&amp;O)</source>
        <translation>&amp;Open File</translation>
    </message>
    <message>
        <source>保存文件(&amp;V)</source>
        <translation>Sa&amp;ve File</translation>
    </message>
    <message>
        <source>导出CSV(&amp;E)...</source>
        <translation>&amp;Export CSV...</translation>
    </message>
    <message>
        <source>导入CSV(&amp;I)...</source>
        <translation>&amp;Import CSV...</translation>
    </message>
    <message>
        <source>打印(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>导出PDF(&amp;D)...</source>
        <translation>Export P&amp;DF...</translation>
    </message>
    <message>
        <source>历史记录(&amp;H)...</source>
        <translation>&amp;History...</translation>
    </message>
    <message>
        <source>        编辑(&amp;D)</source>
        <translation>        E&amp;dit</translation>
    </message>
    <message>
        <source>        读信道数据(&amp;R)</source>
        <translation>        &amp;Read Channels</translation>
    </message>
    <message>
        <source>        写信道数据(&amp;W)</source>
        <translation>        &amp;Write Channels</translation>
    </message>
    <message>
        <source>        系统设置(&amp;S)</source>
        <translation>        &amp;Settings</translation>
    </message>
    <message>
        <source>选择端口(&amp;P)</source>
        <translation>Select &amp;Port</translation>
    </message>
    <message>
        <source>波特率(&amp;B)</source>
        <translation>&amp;Baud Rate</translation>
    </message>
    <message>
        <source>端口设备(&amp;D)...</source>
        <translation>Port &amp;Devices...</translation>
    </message>
    <message>
        <source>写后校验(&amp;V)</source>
        <translation>&amp;Verify After Write</translation>
    </message>
    <message>
        <source>       退出系统(&amp;E)</source>
        <translation>       &amp;Exit</translation>
    </message>
    <message>
        <source>       帮助(&amp;H)</source>
        <translation>       &amp;Help</translation>
    </message>
    <message>
        <source>操作说明(&amp;I)</source>
        <translation>&amp;Instructions</translation>
    </message>
    <message>
        <source>关于本软件(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>保存通信记录(&amp;T)...</source>
        <translation>Save Link &amp;Trace...</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>清除(&amp;L)</source>
        <translation>C&amp;lear</translation>
    </message>
    <message>
        <source>向下填充(&amp;F)</source>
        <translation>&amp;Fill Down</translation>
    </message>
    <message>
        <source>批量修改(&amp;M)...</source>
        <translation>Change &amp;Many...</translation>
    </message>
    <message>
        <source>插入预设频道(&amp;T)...</source>
        <translation>Insert Preset Channels...</translation>
    </message>
    <message>
        <source>查找(&amp;S)</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>隐藏空信道(&amp;H)</source>
        <translation>&amp;Hide Empty Channels</translation>
    </message>
    <message>
        <source>撤销(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重做(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>%1年%2月%3日</source>
        <translation>%1-%2-%3</translation>
    </message>
    <message>
        <source>按接收频率排序(&amp;O)</source>
        <translation>S&amp;ort by Receive Frequency</translation>
    </message>
    <message>
        <source>按发送频率排序(&amp;X)</source>
        <translation>Sort by &amp;Transmit Frequency</translation>
    </message>
    <message>
        <source>上移信道(&amp;J)</source>
        <translation>Mo&amp;ve Channels Up</translation>
    </message>
    <message>
        <source>下移信道(&amp;N)</source>
        <translation>Move Channels Dow&amp;n</translation>
    </message>
    <message>
        <source>插入信道(&amp;I)</source>
        <translation>&amp;Insert Channel</translation>
    </message>
    <message>
        <source>删除信道(&amp;E)</source>
        <translation>&amp;Delete Channels</translation>
    </message>
    <message>
        <source>频率规则(&amp;G)...</source>
        <translation>Frequency Rules(&amp;G)...</translation>
    </message>
    <message>
        <source>        与对讲机比较(&amp;M)</source>
        <translation>        Co&amp;mpare</translation>
    </message>
    <message>
        <source>频段图(&amp;B)...</source>
        <translation>&amp;Band Chart...</translation>
    </message>
    <message>
        <source>保存诊断报告(&amp;R)...</source>
        <translation>Save Support &amp;Report...</translation>
    </message>
</context>
<context>
    <name>vq::PortDevicesWindow</name>
    <message>
        <source>端口%1</source>
        <translation>Port %1</translation>
    </message>
    <message>
        <source>设为端口1</source>
        <translation>Use as Port 1</translation>
    </message>
    <message>
        <source>设为端口2</source>
        <translation>Use as Port 2</translation>
    </message>
    <message>
        <source>查找对讲机</source>
        <translation>Find Radio</translation>
    </message>
    <message>
        <source>检测线路</source>
        <translation>Check Cable</translation>
    </message>
    <message>
        <source>其他设备：</source>
        <translation>Other device:</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>固定名称</source>
        <translation>Stable name</translation>
    </message>
    <message>
        <source>描述</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>制造商</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>串口设备列表</source>
        <translation>Serial devices</translation>
    </message>
    <message>
        <source>检查结果</source>
        <translation>Findings</translation>
    </message>
</context>
<context>
    <name>vq::PortDialog</name>
    <message>
        <source>选择端口</source>
        <translation>Select Port</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请选择串行口:</source>
        <translation>Choose a serial port:</translation>
    </message>
</context>
<context>
    <name>vq::PresetDialog</name>
    <message>
        <source>插入预设频道</source>
        <translation>Insert Preset Channels</translation>
    </message>
    <message>
        <source>%1（%2个信道）</source>
        <translation>%1 (%2 channels)</translation>
    </message>
    <message>
        <source>信道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>原值</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>新值</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>所选信道已是这些频道，无需修改</source>
        <translation>The selected channels already hold these; nothing to change</translation>
    </message>
    <message>
        <source>确定后将修改以下%1项：</source>
        <translation>OK changes these %1 items:</translation>
    </message>
    <message>
        <source>第%1信道 %2</source>
        <translation>Channel %1 %2</translation>
    </message>
    <message>
        <source>将修改的项目</source>
        <translation>Values to be changed</translation>
    </message>
</context>
<context>
    <name>vq::air</name>
    <message>
        <source>第%1信道：%2</source>
        <translation>Channel %1: %2</translation>
    </message>
    <message>
        <source>以下信道不符合%1的频率规则，仍要写入吗？</source>
        <translation>These channels do not keep the frequency rules of %1. Write anyway?</translation>
    </message>
    <message>
        <source>中国</source>
        <translation>China</translation>
    </message>
    <message>
        <source>欧洲</source>
        <translation>Europe</translation>
    </message>
    <message>
        <source>美国</source>
        <translation>USA</translation>
    </message>
    <message>
        <source>所有地区</source>
        <translation>every region</translation>
    </message>
    <message>
        <source>发射频率不在所选地区允许发射的频段内</source>
        <translation>The transmit frequency is in no band the chosen region allows</translation>
    </message>
    <message>
        <source>在%1发射需要业余执照</source>
        <translation>Transmitting in %1 needs an amateur licence</translation>
    </message>
    <message>
        <source>发射频率不在%1的信道上</source>
        <translation>The transmit frequency is not on a %1 channel</translation>
    </message>
    <message>
        <source>%1只允许收发同频</source>
        <translation>%1 allows only the same frequency both ways</translation>
    </message>
    <message>
        <source>%1只能接收，不能发射</source>
        <translation>%1 is receive only</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>%1个信道不符合所选频率规则</source>
        <translation>%1 channels do not keep the chosen frequency rules</translation>
    </message>
</context>
<context>
    <name>vq::chart</name>
    <message>
        <source>没有信道</source>
        <translation>No channels</translation>
    </message>
    <message>
        <source>频段图</source>
        <translation>Band Chart</translation>
    </message>
    <message>
        <source>频段图只能保存为 .png 或 .svg 文件</source>
        <translation>A band chart is saved only as a .png or .svg file</translation>
    </message>
</context>
<context>
    <name>vq::cli</name>
    <message>
        <source>用法:</source>
        <translation>Usage:</translation>
    </message>
    <message>
        <source>缺少命令</source>
        <translation>No command given</translation>
    </message>
    <message>
        <source>未知命令：</source>
        <translation>Unknown command: </translation>
    </message>
    <message>
        <source>%1 不接受选项 --%2</source>
        <translation>%1 does not take the option --%2</translation>
    </message>
    <message>
        <source>%1 缺少文件名</source>
        <translation>%1 needs a file name</translation>
    </message>
    <message>
        <source>%1 需要 --port</source>
        <translation>%1 needs --port</translation>
    </message>
    <message>
        <source>--db 与 --csv 只能选一个</source>
        <translation>Give either --db or --csv, not both</translation>
    </message>
    <message>
        <source>--layout 只能是 own 或 common</source>
        <translation>--layout must be own or common</translation>
    </message>
    <message>
        <source>--layout 需要 --csv</source>
        <translation>--layout needs --csv</translation>
    </message>
    <message>
        <source>VQ4471R 信道设置（命令行）</source>
        <translation>VQ4471R channel programmer (command line)</translation>
    </message>
    <message>
        <source>默认信道数据库：</source>
        <translation>Default channel database: </translation>
    </message>
    <message>
        <source>串口设备（write 可给多个）。</source>
        <translation>Serial device (write takes several).</translation>
    </message>
    <message>
        <source>信道数据库文件（默认见上）。</source>
        <translation>Channel database file (default above).</translation>
    </message>
    <message>
        <source>CSV 文件。</source>
        <translation>CSV file.</translation>
    </message>
    <message>
        <source>CSV 格式：own（本程序）或 common（通用格式）。</source>
        <translation>CSV layout: own (this program) or common (the common layout).</translation>
    </message>
    <message>
        <source>写入后读回校验。</source>
        <translation>Read back and compare after writing.</translation>
    </message>
    <message>
        <source>以 JSON 输出。</source>
        <translation>Print JSON.</translation>
    </message>
    <message>
        <source>这一次用的语言：zh（默认）或 en。</source>
        <translation>Language for this run: zh (the default) or en.</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>file does not exist</translation>
    </message>
    <message>
        <source>对讲机已应答</source>
        <translation>the radio answered</translation>
    </message>
    <message>
        <source>全部%1个信道都可以写入</source>
        <translation>All %1 channels can be written</translation>
    </message>
    <message>
        <source>已中止：没有保存任何数据</source>
        <translation>Stopped: nothing was saved</translation>
    </message>
    <message>
        <source>已读取%1个信道</source>
        <translation>Read %1 channels</translation>
    </message>
    <message>
        <source>（</source>
        <translation> (</translation>
    </message>
    <message>
        <source>）</source>
        <translation>)</translation>
    </message>
    <message>
        <source>，只写入了%1个信道</source>
        <translation>, only %1 channels written</translation>
    </message>
    <message>
        <source>无法输出结果</source>
        <translation>Cannot write the output</translation>
    </message>
    <message>
        <source>sort 需要 --by rx 或 --by tx</source>
        <translation>sort needs --by rx or --by tx</translation>
    </message>
    <message>
        <source>排序依据：rx（接收频率）或 tx（发送频率）。</source>
        <translation>Sort key: rx (receive frequency) or tx (transmit frequency).</translation>
    </message>
    <message>
        <source>第%1信道：%2</source>
        <translation>Channel %1: %2</translation>
    </message>
    <message>
        <source>所有发射频率都符合%1的频率规则</source>
        <translation>Every transmit frequency keeps the frequency rules of %1</translation>
    </message>
    <message>
        <source>--region 只能是 cn、eu 或 us</source>
        <translation>--region must be cn, eu or us</translation>
    </message>
    <message>
        <source>--licence 只能是 none 或 amateur</source>
        <translation>--licence must be none or amateur</translation>
    </message>
    <message>
        <source>按所在地区的频率规则检查发射频率：cn、eu 或 us。</source>
        <translation>Check transmit frequencies against the rules of a region: cn, eu or us.</translation>
    </message>
    <message>
        <source>持有的执照：none（默认）或 amateur。</source>
        <translation>The licence held: none (the default) or amateur.</translation>
    </message>
    <message>
        <source>read 把对讲机的信道存入数据库；只给 --csv 时只写入该CSV文件，数据库不变。
write 同时写入每个 --port 的对讲机。
diff 读出对讲机并与计划比较：0 相同, 1 不同。
退出状态: 0 成功, 1 失败, 2 用法错误。</source>
        <translation>read stores the radio&apos;s channels in the database; with only --csv it writes that CSV file alone and the database stays as it is.
write programs the radio on every --port at once.
diff reads the radio and compares it with the plan: 0 the same, 1 different.
Exit status: 0 success, 1 failure, 2 usage error.</translation>
    </message>
    <message>
        <source>已中止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>第%1信道 %2：对讲机 “%3”，计划 “%4”</source>
        <translation>Channel %1 %2: radio “%3”, plan “%4”</translation>
    </message>
    <message>
        <source>ports、probe、read、write、diff、export、import、check、sort、chart 或 report。</source>
        <translation>ports, probe, read, write, diff, export, import, check, sort, chart or report.</translation>
    </message>
</context>
<context>
    <name>vq::columns</name>
    <message>
        <source>信道号        </source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>接收频率 (MHz)    </source>
        <translation>RX frequency (MHz)</translation>
    </message>
    <message>
        <source>哑音(Hz)          </source>
        <translation>Tone(Hz)</translation>
    </message>
    <message>
        <source>数字哑音          </source>
        <translation>DCS</translation>
    </message>
    <message>
        <source>发送频率 (MHz)</source>
        <translation>TX frequency (MHz)</translation>
    </message>
    <message>
        <source>扫描     </source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>拍频      </source>
        <translation>Beat</translation>
    </message>
</context>
<context>
    <name>vq::edits</name>
    <message>
        <source>内容过多</source>
        <translation>too much content</translation>
    </message>
    <message>
        <source>不是文本</source>
        <translation>not text</translation>
    </message>
    <message>
        <source>内容过多，最多可粘贴%1行</source>
        <translation>too much text: at most %1 lines can be pasted</translation>
    </message>
    <message>
        <source>第%1行引号不成对</source>
        <translation>line %1: a quote is not closed</translation>
    </message>
    <message>
        <source>剪贴板中没有可粘贴的内容</source>
        <translation>the clipboard holds nothing to paste</translation>
    </message>
    <message>
        <source>请先选择要粘贴到的单元格</source>
        <translation>select the cells to paste into first</translation>
    </message>
    <message>
        <source>信道号不能修改，请从接收频率列起粘贴</source>
        <translation>the channel number cannot change; paste from the receive frequency column on</translation>
    </message>
    <message>
        <source>粘贴的%1行从%2起超出第%3信道，未粘贴</source>
        <translation>the %1 pasted rows from %2 run past channel %3; nothing pasted</translation>
    </message>
    <message>
        <source>第%1信道</source>
        <translation>channel %1</translation>
    </message>
    <message>
        <source>粘贴的%1列从“%2”列起超出表格，未粘贴</source>
        <translation>the %1 pasted columns from “%2” run past the table; nothing pasted</translation>
    </message>
    <message>
        <source>请选择同一列中的两个或更多单元格</source>
        <translation>select two or more cells in one column</translation>
    </message>
    <message>
        <source>请先选择信道</source>
        <translation>select channels first</translation>
    </message>
    <message>
        <source>步进“%1”不是数字</source>
        <translation>step “%1” is not a number</translation>
    </message>
    <message>
        <source>没有接收频率</source>
        <translation>no receive frequency</translation>
    </message>
    <message>
        <source>粘贴的%1行从%2起超出显示的最后一行（第%3信道），未粘贴</source>
        <translation>the %1 pasted rows from %2 run past the last row shown (channel %3); nothing pasted</translation>
    </message>
    <message>
        <source>第%1信道已被查找隐藏，未更改：请先清除查找</source>
        <translation>channel %1 is hidden by the find filter and was not changed: clear the find first</translation>
    </message>
</context>
<context>
    <name>vq::fields</name>
    <message>
        <source>信道号</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>RX frequency</translation>
    </message>
    <message>
        <source>收哑音</source>
        <translation>RX tone</translation>
    </message>
    <message>
        <source>收数字哑音</source>
        <translation>RX DCS</translation>
    </message>
    <message>
        <source>发送频率</source>
        <translation>TX frequency</translation>
    </message>
    <message>
        <source>发哑音</source>
        <translation>TX tone</translation>
    </message>
    <message>
        <source>发数字哑音</source>
        <translation>TX DCS</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>拍频</source>
        <translation>Beat</translation>
    </message>
</context>
<context>
    <name>vq::files</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>文件过大</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>行数过多</source>
        <translation>too many lines</translation>
    </message>
    <message>
        <source>列数过多</source>
        <translation>too many columns</translation>
    </message>
    <message>
        <source>引号位置不对</source>
        <translation>misplaced quote</translation>
    </message>
    <message>
        <source>不是文本</source>
        <translation>not text</translation>
    </message>
    <message>
        <source>引号没有结束</source>
        <translation>unterminated quote</translation>
    </message>
    <message>
        <source>没有表头</source>
        <translation>no header</translation>
    </message>
    <message>
        <source>没有信道数据</source>
        <translation>no channel data</translation>
    </message>
    <message>
        <source>列重复：%1</source>
        <translation>duplicate column: %1</translation>
    </message>
    <message>
        <source>缺少列：%1</source>
        <translation>missing columns: %1</translation>
    </message>
    <message>
        <source>第%1行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>%1%2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1不是可选的值</source>
        <translation>%1 is not one of the choices</translation>
    </message>
    <message>
        <source>字段数与表头不同</source>
        <translation>field count differs from the header</translation>
    </message>
    <message>
        <source>没有这个信道</source>
        <translation>no such channel</translation>
    </message>
    <message>
        <source>信道重复</source>
        <translation>repeated channel</translation>
    </message>
    <message>
        <source>只支持NN</source>
        <translation>only NN is supported</translation>
    </message>
    <message>
        <source>对讲机只支持FM</source>
        <translation>the radio supports FM only</translation>
    </message>
    <message>
        <source>不支持的频差方式</source>
        <translation>unsupported duplex</translation>
    </message>
    <message>
        <source>不是频率差</source>
        <translation>not a frequency offset</translation>
    </message>
    <message>
        <source>不支持的交叉方式</source>
        <translation>unsupported cross mode</translation>
    </message>
    <message>
        <source>不支持的哑音方式</source>
        <translation>unsupported tone mode</translation>
    </message>
    <message>
        <source>忽略未知的列：%1</source>
        <translation>unknown columns ignored: %1</translation>
    </message>
    <message>
        <source>第%1行：Skip为P，按add处理</source>
        <translation>line %1: Skip P taken as add</translation>
    </message>
    <message>
        <source>缺少此项</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>不是频率</source>
        <translation>not a frequency</translation>
    </message>
    <message>
        <source>对讲机不能保存这些列，已忽略：%1</source>
        <translation>columns the radio cannot hold, ignored: %1</translation>
    </message>
</context>
<context>
    <name>vq::presets</name>
    <message>
        <source>公众对讲频道（免执照）</source>
        <translation>Public walkie-talkie channels (no licence)</translation>
    </message>
    <message>
        <source>PMR446</source>
        <translation>PMR446</translation>
    </message>
</context>
<context>
    <name>vq::refusals</name>
    <message>
        <source>为空</source>
        <translation>blank</translation>
    </message>
    <message>
        <source>不是整数</source>
        <translation>not a whole number</translation>
    </message>
    <message>
        <source>超出范围（1～127）</source>
        <translation>out of range (1 to 127)</translation>
    </message>
    <message>
        <source>不是频率</source>
        <translation>not a frequency</translation>
    </message>
    <message>
        <source>超出范围（130～500 MHz）</source>
        <translation>out of range (130 to 500 MHz)</translation>
    </message>
    <message>
        <source>不在步进上，会变成%1</source>
        <translation>off the channel raster; it would become %1</translation>
    </message>
    <message>
        <source>不是可用的哑音</source>
        <translation>not a usable tone</translation>
    </message>
    <message>
        <source>不是可用的数字哑音</source>
        <translation>not a usable DCS code</translation>
    </message>
    <message>
        <source>不能与哑音同时使用</source>
        <translation>cannot be used together with a CTCSS tone</translation>
    </message>
    <message>
        <source>不是可选的值</source>
        <translation>not one of the choices</translation>
    </message>
    <message>
        <source>%1为空</source>
        <translation>%1 is blank</translation>
    </message>
    <message>
        <source>%1“%2”%3</source>
        <translation>%1 &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>超出范围</source>
        <translation>out of range</translation>
    </message>
</context>
<context>
    <name>vq::report</name>
    <message>
        <source>（程序文件夹以外）</source>
        <translation>(outside the program&apos;s folders)</translation>
    </message>
    <message>
        <source>VQ4471R 诊断报告</source>
        <translation>VQ4471R support report</translation>
    </message>
    <message>
        <source>程序</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>语言：</source>
        <translation>Language: </translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>串口设备</source>
        <translation>Serial devices</translation>
    </message>
    <message>
        <source>当前端口：端口%1 %2（%3）</source>
        <translation>Port in use: port %1 %2 (%3)</translation>
    </message>
    <message>
        <source>已打开</source>
        <translation>open</translation>
    </message>
    <message>
        <source>未打开</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>port </translation>
    </message>
    <message>
        <source>线路检查（不向设备发送数据）</source>
        <translation>Cable check (nothing sent to the device)</translation>
    </message>
    <message>
        <source>信道数据库</source>
        <translation>Channel database</translation>
    </message>
    <message>
        <source>文件：</source>
        <translation>File: </translation>
    </message>
    <message>
        <source>完整性检查：</source>
        <translation>Integrity check: </translation>
    </message>
    <message>
        <source>信道行数：%1</source>
        <translation>Channel rows: %1</translation>
    </message>
    <message>
        <source>历史快照：%1</source>
        <translation>History snapshots: %1</translation>
    </message>
    <message>
        <source>通信记录</source>
        <translation>Link traces</translation>
    </message>
    <message>
        <source>，只有结尾</source>
        <translation>, the end only</translation>
    </message>
    <message>
        <source>没有打开信道数据库</source>
        <translation>No channel database open</translation>
    </message>
</context>
<context>
    <name>vq::texts</name>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>不是文本</source>
        <translation>not text</translation>
    </message>
    <message>
        <source>无法读取</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>设备或文件</source>
        <translation>Device or file</translation>
    </message>
    <message>
        <source>与当前不同的信道</source>
        <translation>Channels that differ from now</translation>
    </message>
    <message>
        <source>读自对讲机</source>
        <translation>read from the radio</translation>
    </message>
    <message>
        <source>写入对讲机</source>
        <translation>written to the radio</translation>
    </message>
    <message>
        <source>启动时写入对讲机</source>
        <translation>written to the radio at start-up</translation>
    </message>
    <message>
        <source>打开文件前</source>
        <translation>before opening a file</translation>
    </message>
    <message>
        <source>导入前</source>
        <translation>before an import</translation>
    </message>
    <message>
        <source>恢复前</source>
        <translation>before a restore</translation>
    </message>
    <message>
        <source>校验时读回</source>
        <translation>read back to verify</translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation>System Information</translation>
    </message>
    <message>
        <source>错误警告 </source>
        <translation>Error </translation>
    </message>
    <message>
        <source>信道数据库无法打开：</source>
        <translation>The channel database cannot be opened: </translation>
    </message>
    <message>
        <source>信道数据库已被另一程序打开</source>
        <translation>The channel database is open in another program</translation>
    </message>
    <message>
        <source>数据库正被另一程序锁定，请关闭该程序后重试</source>
        <translation>Another program has locked the database; close it and try again</translation>
    </message>
    <message>
        <source>该文件不是数据库</source>
        <translation>The file is not a database</translation>
    </message>
    <message>
        <source>数据库中没有信道表</source>
        <translation>The database has no channel table</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>The folder does not exist</translation>
    </message>
    <message>
        <source>没有访问该文件的权限</source>
        <translation>No permission to access the file</translation>
    </message>
    <message>
        <source>信道表缺少字段：</source>
        <translation>The channel table lacks fields: </translation>
    </message>
    <message>
        <source>未知选项：</source>
        <translation>Unknown option: </translation>
    </message>
    <message>
        <source>多余的参数：</source>
        <translation>Extra argument: </translation>
    </message>
    <message>
        <source>选项重复：</source>
        <translation>Repeated option: </translation>
    </message>
    <message>
        <source>未知语言：</source>
        <translation>Unknown language: </translation>
    </message>
    <message>
        <source>无法保存的信道数据库：</source>
        <translation>A channel database that cannot be saved: </translation>
    </message>
    <message>
        <source>信道数据库写入失败</source>
        <translation>Writing the channel database failed</translation>
    </message>
    <message>
        <source>串行端口 %1已被其它设备使用</source>
        <translation>Serial port %1 is in use by another device</translation>
    </message>
    <message>
        <source>串行端口未打开</source>
        <translation>The serial port is not open</translation>
    </message>
    <message>
        <source>串行端口通信失败</source>
        <translation>Serial port communication failed</translation>
    </message>
    <message>
        <source>读数错误！！</source>
        <translation>Read error!!</translation>
    </message>
    <message>
        <source>信道表记录不足50条</source>
        <translation>The channel table has fewer than 50 records</translation>
    </message>
    <message>
        <source>信道表记录不足16条</source>
        <translation>The channel table has fewer than 16 records</translation>
    </message>
    <message>
        <source>数据超出范围 ！！</source>
        <translation>Data out of range !!</translation>
    </message>
    <message>
        <source>文件格式错误</source>
        <translation>File format error</translation>
    </message>
    <message>
        <source>文件保存失败</source>
        <translation>Saving the file failed</translation>
    </message>
    <message>
        <source>数据传送中，请稍后再选择端口</source>
        <translation>Data transfer in progress; choose the port later</translation>
    </message>
    <message>
        <source>串行端口 1 已被使用 </source>
        <translation>Serial port 1 is in use </translation>
    </message>
    <message>
        <source>串行端口 2 已被使用， </source>
        <translation>Serial port 2 is in use, </translation>
    </message>
    <message>
        <source>的设备不存在</source>
        <translation>: the device does not exist</translation>
    </message>
    <message>
        <source>的设备不是串口</source>
        <translation>: the device is not a serial port</translation>
    </message>
    <message>
        <source>没有访问权限</source>
        <translation>: no permission</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>: cannot be opened</translation>
    </message>
    <message>
        <source>，已选择 COM%1</source>
        <translation>, COM%1 chosen</translation>
    </message>
    <message>
        <source>，没有可用的串行端口</source>
        <translation>, no serial port available</translation>
    </message>
    <message>
        <source>可在“系统设置 → 端口设备”中为端口选择对讲机所连的设备。</source>
        <translation>Choose the device the radio is connected to under &quot;Settings → Port Devices&quot;.</translation>
    </message>
    <message>
        <source>对讲机未响应</source>
        <translation>Radio not responding</translation>
    </message>
    <message>
        <source>此时系统信息不可用</source>
        <translation>System information is not available now</translation>
    </message>
    <message>
        <source>系统初始化，请稍等...</source>
        <translation>Starting, please wait...</translation>
    </message>
    <message>
        <source>正在传送数据,,,,,,,</source>
        <translation>Sending data,,,,,,,</translation>
    </message>
    <message>
        <source>正在读数据......</source>
        <translation>Reading data......</translation>
    </message>
    <message>
        <source>对讲机就绪...</source>
        <translation>Radio ready...</translation>
    </message>
    <message>
        <source>信道表为空，请先读信道数据</source>
        <translation>Table empty; read first</translation>
    </message>
    <message>
        <source>正在校验...</source>
        <translation>Verifying...</translation>
    </message>
    <message>
        <source>校验通过</source>
        <translation>Verified</translation>
    </message>
    <message>
        <source>校验读数失败</source>
        <translation>Reading back to verify failed</translation>
    </message>
    <message>
        <source>写入后对讲机未响应，无法校验</source>
        <translation>The radio did not respond after the write; cannot verify</translation>
    </message>
    <message>
        <source>第%1信道校验不符</source>
        <translation>Channel %1 does not match</translation>
    </message>
    <message>
        <source>串行端口 %1 %2</source>
        <translation>Serial port %1 %2</translation>
    </message>
    <message>
        <source>已被使用</source>
        <translation>is in use</translation>
    </message>
    <message>
        <source>写入完成</source>
        <translation>Write complete</translation>
    </message>
    <message>
        <source>写入后对讲机未响应</source>
        <translation>The radio did not respond after the write</translation>
    </message>
    <message>
        <source>写入完成，未校验</source>
        <translation>Write complete, not verified</translation>
    </message>
    <message>
        <source>已取消，对讲机内容未变</source>
        <translation>Cancelled; the radio is unchanged</translation>
    </message>
    <message>
        <source>数据传送中，请稍后再试</source>
        <translation>Data transfer in progress; try again later</translation>
    </message>
    <message>
        <source>目标不是普通文件</source>
        <translation>The target is not a regular file</translation>
    </message>
    <message>
        <source>文件过大</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>正在写入对讲机，约%1秒后完成，请稍后再关闭</source>
        <translation>Writing to the radio, done in about %1 seconds; close afterwards</translation>
    </message>
    <message>
        <source>第%1项（第%2信道 %3）%4</source>
        <translation>Item %1 (channel %2 %3): %4</translation>
    </message>
    <message>
        <source>第%1信道数据错误，无法写入</source>
        <translation>Channel %1 holds bad data and cannot be written</translation>
    </message>
    <message>
        <source>没有使用 %1 的权限：请运行 sudo usermod -aG %2 %3，然后注销并重新登录。</source>
        <translation>No permission to use %1: run sudo usermod -aG %2 %3, then log out and back in.</translation>
    </message>
    <message>
        <source>没有使用 %1 的权限：当前用户已在 %2 组中，但本次登录尚未生效，请注销并重新登录。</source>
        <translation>No permission to use %1: the user is in group %2, but not yet in this login session; log out and back in.</translation>
    </message>
    <message>
        <source>没有使用 %1 的权限：该设备属于 %2 组，加入该组无效，需要 udev 规则或请管理员授权。</source>
        <translation>No permission to use %1: the device belongs to group %2, which joining does not help; a udev rule or an administrator is needed.</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>检测线路</source>
        <translation>Check Cable</translation>
    </message>
    <message>
        <source>找到设备 %1</source>
        <translation>Found device %1</translation>
    </message>
    <message>
        <source>找到设备 %1（实际设备 %2）</source>
        <translation>Found device %1 (actual device %2)</translation>
    </message>
    <message>
        <source>找不到设备 %1：请检查连接线是否插好</source>
        <translation>Device %1 not found: check that the cable is plugged in</translation>
    </message>
    <message>
        <source>%1 不是串行设备</source>
        <translation>%1 is not a serial device</translation>
    </message>
    <message>
        <source>当前用户可以读写该设备</source>
        <translation>The user can read and write the device</translation>
    </message>
    <message>
        <source>设备未被其他程序占用</source>
        <translation>No other program holds the device</translation>
    </message>
    <message>
        <source>设备正被另一程序使用，请先关闭该程序</source>
        <translation>Another program is using the device; close it first</translation>
    </message>
    <message>
        <source>设备正被进程 %1（PID %2）使用，请先关闭该程序</source>
        <translation>Process %1 (PID %2) is using the device; close it first</translation>
    </message>
    <message>
        <source>未发现会抢占串口的后台程序</source>
        <translation>No background service that grabs serial ports was found</translation>
    </message>
    <message>
        <source>盲文显示服务 brltty 正在运行（PID %1），它会抢占 USB 串口转接线：请卸载 brltty，或禁用它的 udev 规则</source>
        <translation>The braille service brltty is running (PID %1) and grabs USB serial adapters: uninstall brltty or disable its udev rules</translation>
    </message>
    <message>
        <source>ModemManager 正在运行（PID %1），它会向串口发送 AT 命令：请用含 ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot; 的 udev 规则排除该设备，或停止 ModemManager</source>
        <translation>ModemManager is running (PID %1) and sends AT commands to serial ports: exclude the device with a udev rule containing ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot;, or stop ModemManager</translation>
    </message>
    <message>
        <source>对讲机已应答</source>
        <translation>The radio answered</translation>
    </message>
    <message>
        <source>对讲机没有应答，也没有收到任何字符：请检查连接线是否插紧、对讲机是否开机、设备是否选对</source>
        <translation>The radio did not answer and no character came back: check that the cable is firmly in, the radio is on and the right device is chosen</translation>
    </message>
    <message>
        <source>收到了字符，但不是对讲机的应答：可能是速率不对、设备选错或转接线损坏。收到：%1</source>
        <translation>Characters came back, but not the radio&apos;s answer: wrong speed, wrong device or a broken adapter. Received: %1</translation>
    </message>
    <message>
        <source>无法使用该设备：%1</source>
        <translation>Cannot use the device: %1</translation>
    </message>
    <message>
        <source>未检测对讲机应答：请先解决上面的问题</source>
        <translation>The radio&apos;s answer was not checked: solve the problems above first</translation>
    </message>
    <message>
        <source>串口设备</source>
        <translation>Serial Devices</translation>
    </message>
    <message>
        <source>在 %1 上找到对讲机</source>
        <translation>Radio found on %1</translation>
    </message>
    <message>
        <source>在 %1 个可用设备上都没有找到对讲机</source>
        <translation>No radio found on any of %1 available devices</translation>
    </message>
    <message>
        <source>这是本程序正在使用的端口：状态栏显示“对讲机就绪...”即线路正常；要检测它，请先换用另一端口</source>
        <translation>This is the port the program uses: &quot;Radio ready...&quot; in the status line means the link works; to check it, switch to the other port first</translation>
    </message>
    <message>
        <source>没有可供查找的空闲设备</source>
        <translation>No free device to search</translation>
    </message>
    <message>
        <source>在 %1 上找到对讲机，是否用作串行端口 %2？</source>
        <translation>Radio found on %1; use it as serial port %2?</translation>
    </message>
    <message>
        <source>当前端口 %1：%2    已发送 %3 字节    已接收 %4 字节</source>
        <translation>Current port %1: %2    sent %3 bytes    received %4 bytes</translation>
    </message>
    <message>
        <source>未打开</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>读信道数据（对讲机内容不变）</source>
        <translation>Read channels (radio unchanged)</translation>
    </message>
    <message>
        <source>恢复历史记录</source>
        <translation>Restore history</translation>
    </message>
    <message>
        <source>确定要中止读取吗？</source>
        <translation>Stop the read?</translation>
    </message>
    <message>
        <source>正在写入对讲机，约%1秒后完成，写入不能中止</source>
        <translation>Writing to the radio, done in about %1 seconds; a write cannot be stopped</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>历史记录不可用</source>
        <translation>History unavailable</translation>
    </message>
    <message>
        <source>该历史记录已无法读取</source>
        <translation>This history entry can no longer be read</translation>
    </message>
    <message>
        <source>通信记录无法写入，已停止记录</source>
        <translation>The link trace cannot be written; tracing stopped</translation>
    </message>
    <message>
        <source>这是信道数据库文件</source>
        <translation>This is the channel database file</translation>
    </message>
    <message>
        <source>导入CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>CSV文件有误，未导入任何数据</source>
        <translation>The CSV file has errors; nothing was imported</translation>
    </message>
    <message>
        <source>有信道无法用通用格式表示，未导出</source>
        <translation>Some channels cannot be expressed in the common layout; nothing exported</translation>
    </message>
    <message>
        <source>CSV文件已导入，但请注意：</source>
        <translation>The CSV file was imported, but note:</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>通用格式 (*.csv)</source>
        <translation>Common layout (*.csv)</translation>
    </message>
    <message>
        <source>第%1行 %2“%3”：%4</source>
        <translation>Line %1 %2 &quot;%3&quot;: %4</translation>
    </message>
    <message>
        <source>另有%1处问题</source>
        <translation>%1 more problems</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>只打印有接收频率的信道</source>
        <translation>Print only channels with a receive frequency</translation>
    </message>
    <message>
        <source>只导出有接收频率的信道吗？</source>
        <translation>Export only channels with a receive frequency?</translation>
    </message>
    <message>
        <source>无法生成PDF</source>
        <translation>Cannot make the PDF</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>向下填充</source>
        <translation>Fill down</translation>
    </message>
    <message>
        <source>批量修改</source>
        <translation>Change Many</translation>
    </message>
    <message>
        <source>插入预设频道</source>
        <translation>Insert Preset Channels</translation>
    </message>
    <message>
        <source>无法粘贴，表格未作任何修改</source>
        <translation>Cannot paste; the table is unchanged</translation>
    </message>
    <message>
        <source>数据有误，表格未作任何修改</source>
        <translation>Bad data; the table is unchanged</translation>
    </message>
    <message>
        <source>预设频道数据无法读取</source>
        <translation>The preset channels cannot be read</translation>
    </message>
    <message>
        <source>第%1信道 %2“%3”：%4</source>
        <translation>Channel %1 %2 &quot;%3&quot;: %4</translation>
    </message>
    <message>
        <source>可用</source>
        <translation>available</translation>
    </message>
    <message>
        <source>使用中</source>
        <translation>in use</translation>
    </message>
    <message>
        <source>无权限</source>
        <translation>no permission</translation>
    </message>
    <message>
        <source>当前端口</source>
        <translation>current port</translation>
    </message>
    <message>
        <source>不存在</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>不是串口</source>
        <translation>not a serial port</translation>
    </message>
    <message>
        <source>串行端口 %1 </source>
        <translation>Serial port %1 </translation>
    </message>
    <message>
        <source>输入频率</source>
        <translation>Type frequency</translation>
    </message>
    <message>
        <source>选择%1</source>
        <translation>Choose %1</translation>
    </message>
    <message>
        <source>打开文件</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>信道号</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>无法创建数据文件夹：</source>
        <translation>Cannot create the data folder: </translation>
    </message>
    <message>
        <source>数据文件夹不可写：</source>
        <translation>The data folder is not writable: </translation>
    </message>
    <message>
        <source>信道表已被另一程序修改，已重新载入，请再试一次</source>
        <translation>The channel table was changed by another program and has been reloaded; please try again</translation>
    </message>
    <message>
        <source>选项的值为空：</source>
        <translation>Empty option value: </translation>
    </message>
    <message>
        <source>不是普通文件（文件夹、管道或设备）</source>
        <translation>Not a regular file (a folder, a pipe or a device)</translation>
    </message>
    <message>
        <source>排序前</source>
        <translation>Before sorting</translation>
    </message>
    <message>
        <source>按接收频率排序</source>
        <translation>Sort by receive frequency</translation>
    </message>
    <message>
        <source>按发送频率排序</source>
        <translation>Sort by transmit frequency</translation>
    </message>
    <message>
        <source>上移信道</source>
        <translation>Move channels up</translation>
    </message>
    <message>
        <source>下移信道</source>
        <translation>Move channels down</translation>
    </message>
    <message>
        <source>插入信道</source>
        <translation>Insert channel</translation>
    </message>
    <message>
        <source>删除信道</source>
        <translation>Delete channels</translation>
    </message>
    <message>
        <source>插入后第%1信道（%2）将移出表格，是否继续？</source>
        <translation>After the insert, channel %1 (%2) drops off the table. Go on?</translation>
    </message>
    <message>
        <source>拖动信道</source>
        <translation>Drag channels</translation>
    </message>
    <message>
        <source>与对讲机比较</source>
        <translation>Compare with Radio</translation>
    </message>
    <message>
        <source>对讲机中的信道与计划相同</source>
        <translation>The radio holds the plan</translation>
    </message>
    <message>
        <source>采用对讲机的信道</source>
        <translation>Take the Radio&apos;s Channels</translation>
    </message>
    <message>
        <source>未检测对讲机应答：诊断报告不向设备发送任何数据</source>
        <translation>The radio&apos;s answer was not checked: a support report sends nothing to the device</translation>
    </message>
    <message>
        <source>写入未完成</source>
        <translation>Write unfinished</translation>
    </message>
    <message>
        <source>上次写入对讲机（%1）没有完成，对讲机里可能只有部分信道，请重新写入</source>
        <translation>The last write to the radio (%1) did not finish; the radio may hold only part of the plan. Please write it again</translation>
    </message>
</context>
</TS>
