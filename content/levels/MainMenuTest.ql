<?xml version="1.0"?>
<!-- The menu level: boards, labels and the props the menu screens find by name. -->
<MainMenuTest>
  <mainMenuBoard>
    <Components>
      <Transform3D>
        <m_x><float value="-6"/></m_x>
        <m_y><float value="44"/></m_y>
        <m_z><float value="-3"/></m_z>
        <m_scaleX><float value="44"/></m_scaleX>
        <m_scaleY><float value="34"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_board.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </mainMenuBoard>
  <mainMenuTitle>
    <Components>
      <Transform3D>
        <m_x><float value="-4"/></m_x>
        <m_y><float value="58.6"/></m_y>
        <m_z><float value="-2.85"/></m_z>
        <m_scaleX><float value="18"/></m_scaleX>
        <m_scaleY><float value="4.5"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_title.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </mainMenuTitle>
  <label_play>
    <Components>
      <Transform3D>
        <m_x><float value="-4.36"/></m_x>
        <m_y><float value="54.5"/></m_y>
        <m_z><float value="-2.85"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="3"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_play.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_play>
  <label_options>
    <Components>
      <Transform3D>
        <m_x><float value="4.05"/></m_x>
        <m_y><float value="49.6"/></m_y>
        <m_z><float value="-2.85"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="3"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_options.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_options>
  <label_how_to_play>
    <Components>
      <Transform3D>
        <m_x><float value="-3.8"/></m_x>
        <m_y><float value="45.8"/></m_y>
        <m_z><float value="-2.85"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="3"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_how_to_play.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_how_to_play>
  <label_credits>
    <Components>
      <Transform3D>
        <m_x><float value="1.5"/></m_x>
        <m_y><float value="39.1"/></m_y>
        <m_z><float value="-2.85"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="3"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_credits.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_credits>
  <charSelectBoard>
    <Components>
      <Transform3D>
        <m_x><float value="-2.7"/></m_x>
        <m_y><float value="54"/></m_y>
        <m_z><float value="-100"/></m_z>
        <m_scaleX><float value="110"/></m_scaleX>
        <m_scaleY><float value="62"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_board.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </charSelectBoard>
  <optionsBoard>
    <Components>
      <Transform3D>
        <m_x><float value="74.5"/></m_x>
        <m_y><float value="101"/></m_y>
        <m_z><float value="30"/></m_z>
        <m_scaleX><float value="48"/></m_scaleX>
        <m_scaleY><float value="28"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_board.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </optionsBoard>
  <muteMusic>
    <Components>
      <Transform3D>
        <m_x><float value="62"/></m_x>
        <m_y><float value="108"/></m_y>
        <m_z><float value="31.5"/></m_z>
        <m_scaleX><float value="2"/></m_scaleX>
        <m_scaleY><float value="2"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </muteMusic>
  <label_mute_music>
    <Components>
      <Transform3D>
        <m_x><float value="73"/></m_x>
        <m_y><float value="108"/></m_y>
        <m_z><float value="31.2"/></m_z>
        <m_scaleX><float value="16"/></m_scaleX>
        <m_scaleY><float value="3.2"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_mute_music.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_mute_music>
  <muteMusicCheck>
    <Components>
      <Transform3D>
        <m_x><float value="84"/></m_x>
        <m_y><float value="108"/></m_y>
        <m_z><float value="32"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </muteMusicCheck>
  <muteAll>
    <Components>
      <Transform3D>
        <m_x><float value="62"/></m_x>
        <m_y><float value="103"/></m_y>
        <m_z><float value="31.5"/></m_z>
        <m_scaleX><float value="2"/></m_scaleX>
        <m_scaleY><float value="2"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </muteAll>
  <label_mute_all>
    <Components>
      <Transform3D>
        <m_x><float value="73"/></m_x>
        <m_y><float value="103"/></m_y>
        <m_z><float value="31.2"/></m_z>
        <m_scaleX><float value="16"/></m_scaleX>
        <m_scaleY><float value="3.2"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_mute_all.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_mute_all>
  <muteAllCheck>
    <Components>
      <Transform3D>
        <m_x><float value="84"/></m_x>
        <m_y><float value="103"/></m_y>
        <m_z><float value="32"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </muteAllCheck>
  <graphicsOptionsButton>
    <Components>
      <Transform3D>
        <m_x><float value="62"/></m_x>
        <m_y><float value="98"/></m_y>
        <m_z><float value="31.5"/></m_z>
        <m_scaleX><float value="2"/></m_scaleX>
        <m_scaleY><float value="2"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </graphicsOptionsButton>
  <label_graphics_options>
    <Components>
      <Transform3D>
        <m_x><float value="73"/></m_x>
        <m_y><float value="98"/></m_y>
        <m_z><float value="31.2"/></m_z>
        <m_scaleX><float value="16"/></m_scaleX>
        <m_scaleY><float value="3.2"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_graphics_options.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_graphics_options>
  <back>
    <Components>
      <Transform3D>
        <m_x><float value="62"/></m_x>
        <m_y><float value="93"/></m_y>
        <m_z><float value="31.5"/></m_z>
        <m_scaleX><float value="2"/></m_scaleX>
        <m_scaleY><float value="2"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </back>
  <label_back>
    <Components>
      <Transform3D>
        <m_x><float value="73"/></m_x>
        <m_y><float value="93"/></m_y>
        <m_z><float value="31.2"/></m_z>
        <m_scaleX><float value="16"/></m_scaleX>
        <m_scaleY><float value="3.2"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_back.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_back>
  <graphicsBoard>
    <Components>
      <Transform3D>
        <m_x><float value="77"/></m_x>
        <m_y><float value="63.5"/></m_y>
        <m_z><float value="23"/></m_z>
        <m_scaleX><float value="52"/></m_scaleX>
        <m_scaleY><float value="30"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_board.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </graphicsBoard>
  <lightingBox>
    <Components>
      <Transform3D>
        <m_x><float value="56"/></m_x>
        <m_y><float value="72.5"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </lightingBox>
  <label_lighting>
    <Components>
      <Transform3D>
        <m_x><float value="64"/></m_x>
        <m_y><float value="72.5"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_lighting.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_lighting>
  <lightingCheck>
    <Components>
      <Transform3D>
        <m_x><float value="71.5"/></m_x>
        <m_y><float value="72.5"/></m_y>
        <m_z><float value="25"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </lightingCheck>
  <bloomBox>
    <Components>
      <Transform3D>
        <m_x><float value="56"/></m_x>
        <m_y><float value="68"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </bloomBox>
  <label_bloom>
    <Components>
      <Transform3D>
        <m_x><float value="64"/></m_x>
        <m_y><float value="68"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_bloom.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_bloom>
  <bloomCheck>
    <Components>
      <Transform3D>
        <m_x><float value="71.5"/></m_x>
        <m_y><float value="68"/></m_y>
        <m_z><float value="25"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </bloomCheck>
  <DOFBox>
    <Components>
      <Transform3D>
        <m_x><float value="56"/></m_x>
        <m_y><float value="63.5"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </DOFBox>
  <label_depth_of_field>
    <Components>
      <Transform3D>
        <m_x><float value="64"/></m_x>
        <m_y><float value="63.5"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_depth_of_field.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_depth_of_field>
  <DOFCheck>
    <Components>
      <Transform3D>
        <m_x><float value="71.5"/></m_x>
        <m_y><float value="63.5"/></m_y>
        <m_z><float value="25"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </DOFCheck>
  <SSAOBox>
    <Components>
      <Transform3D>
        <m_x><float value="56"/></m_x>
        <m_y><float value="59"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </SSAOBox>
  <label_ssao>
    <Components>
      <Transform3D>
        <m_x><float value="64"/></m_x>
        <m_y><float value="59"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_ssao.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_ssao>
  <SSAOCheck>
    <Components>
      <Transform3D>
        <m_x><float value="71.5"/></m_x>
        <m_y><float value="59"/></m_y>
        <m_z><float value="25"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </SSAOCheck>
  <sunBox>
    <Components>
      <Transform3D>
        <m_x><float value="80"/></m_x>
        <m_y><float value="72.5"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </sunBox>
  <label_sun>
    <Components>
      <Transform3D>
        <m_x><float value="88"/></m_x>
        <m_y><float value="72.5"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_sun.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_sun>
  <sunCheck>
    <Components>
      <Transform3D>
        <m_x><float value="95.5"/></m_x>
        <m_y><float value="72.5"/></m_y>
        <m_z><float value="25"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </sunCheck>
  <fogBox>
    <Components>
      <Transform3D>
        <m_x><float value="80"/></m_x>
        <m_y><float value="68"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </fogBox>
  <label_fullscreen>
    <Components>
      <Transform3D>
        <m_x><float value="88"/></m_x>
        <m_y><float value="68"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_fullscreen.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_fullscreen>
  <fogCheck>
    <Components>
      <Transform3D>
        <m_x><float value="95.5"/></m_x>
        <m_y><float value="68"/></m_y>
        <m_z><float value="25"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </fogCheck>
  <shadowBox>
    <Components>
      <Transform3D>
        <m_x><float value="80"/></m_x>
        <m_y><float value="63.5"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </shadowBox>
  <label_shadows>
    <Components>
      <Transform3D>
        <m_x><float value="88"/></m_x>
        <m_y><float value="63.5"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_shadows.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_shadows>
  <shadowCheck>
    <Components>
      <Transform3D>
        <m_x><float value="95.5"/></m_x>
        <m_y><float value="63.5"/></m_y>
        <m_z><float value="25"/></m_z>
        <m_scaleX><float value="0.4"/></m_scaleX>
        <m_scaleY><float value="0.4"/></m_scaleY>
        <m_scaleZ><float value="0.4"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="checkmark.model"/></m_modelName>
        <m_materialName><string value="green.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </shadowCheck>
  <moreGraphicsOptions>
    <Components>
      <Transform3D>
        <m_x><float value="80"/></m_x>
        <m_y><float value="59"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </moreGraphicsOptions>
  <label_more_options_graphics>
    <Components>
      <Transform3D>
        <m_x><float value="88"/></m_x>
        <m_y><float value="59"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_more_options.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_more_options_graphics>
  <back1>
    <Components>
      <Transform3D>
        <m_x><float value="80"/></m_x>
        <m_y><float value="54.5"/></m_y>
        <m_z><float value="24.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </back1>
  <label_back_graphics>
    <Components>
      <Transform3D>
        <m_x><float value="88"/></m_x>
        <m_y><float value="54.5"/></m_y>
        <m_z><float value="24.2"/></m_z>
        <m_scaleX><float value="12"/></m_scaleX>
        <m_scaleY><float value="2.6"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_back.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_back_graphics>
  <moreGraphicsBoard>
    <Components>
      <Transform3D>
        <m_x><float value="71.5"/></m_x>
        <m_y><float value="20.5"/></m_y>
        <m_z><float value="37"/></m_z>
        <m_scaleX><float value="66"/></m_scaleX>
        <m_scaleY><float value="30"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_board.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </moreGraphicsBoard>
  <label_graphics_quality>
    <Components>
      <Transform3D>
        <m_x><float value="61"/></m_x>
        <m_y><float value="28"/></m_y>
        <m_z><float value="38.2"/></m_z>
        <m_scaleX><float value="11"/></m_scaleX>
        <m_scaleY><float value="2.4"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_graphics_quality.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_graphics_quality>
  <arrowLGraphics>
    <Components>
      <Transform3D>
        <m_x><float value="69"/></m_x>
        <m_y><float value="28"/></m_y>
        <m_z><float value="38.5"/></m_z>
        <m_scaleX><float value="0.75"/></m_scaleX>
        <m_scaleY><float value="0.75"/></m_scaleY>
        <m_scaleZ><float value="0.75"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="arrow.model"/></m_modelName>
        <m_materialName><string value="black.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </arrowLGraphics>
  <arrowRGraphics>
    <Components>
      <Transform3D>
        <m_x><float value="93"/></m_x>
        <m_y><float value="28"/></m_y>
        <m_z><float value="38.5"/></m_z>
        <m_scaleX><float value="0.75"/></m_scaleX>
        <m_scaleY><float value="0.75"/></m_scaleY>
        <m_scaleZ><float value="0.75"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="1"/></y><z><float value="0"/></z><w><float value="6.12323e-17"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="arrow.model"/></m_modelName>
        <m_materialName><string value="black.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </arrowRGraphics>
  <label_particle_quality>
    <Components>
      <Transform3D>
        <m_x><float value="61"/></m_x>
        <m_y><float value="21"/></m_y>
        <m_z><float value="38.2"/></m_z>
        <m_scaleX><float value="11"/></m_scaleX>
        <m_scaleY><float value="2.4"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_particle_quality.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_particle_quality>
  <arrowLParticle>
    <Components>
      <Transform3D>
        <m_x><float value="69"/></m_x>
        <m_y><float value="21"/></m_y>
        <m_z><float value="38.5"/></m_z>
        <m_scaleX><float value="0.75"/></m_scaleX>
        <m_scaleY><float value="0.75"/></m_scaleY>
        <m_scaleZ><float value="0.75"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="arrow.model"/></m_modelName>
        <m_materialName><string value="black.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </arrowLParticle>
  <arrowRParticle>
    <Components>
      <Transform3D>
        <m_x><float value="93"/></m_x>
        <m_y><float value="21"/></m_y>
        <m_z><float value="38.5"/></m_z>
        <m_scaleX><float value="0.75"/></m_scaleX>
        <m_scaleY><float value="0.75"/></m_scaleY>
        <m_scaleZ><float value="0.75"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="1"/></y><z><float value="0"/></z><w><float value="6.12323e-17"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="arrow.model"/></m_modelName>
        <m_materialName><string value="black.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </arrowRParticle>
  <label_resolution>
    <Components>
      <Transform3D>
        <m_x><float value="61"/></m_x>
        <m_y><float value="14"/></m_y>
        <m_z><float value="38.2"/></m_z>
        <m_scaleX><float value="11"/></m_scaleX>
        <m_scaleY><float value="2.4"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_resolution.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_resolution>
  <arrowLRes>
    <Components>
      <Transform3D>
        <m_x><float value="69"/></m_x>
        <m_y><float value="14"/></m_y>
        <m_z><float value="38.5"/></m_z>
        <m_scaleX><float value="0.75"/></m_scaleX>
        <m_scaleY><float value="0.75"/></m_scaleY>
        <m_scaleZ><float value="0.75"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="arrow.model"/></m_modelName>
        <m_materialName><string value="black.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </arrowLRes>
  <arrowRRes>
    <Components>
      <Transform3D>
        <m_x><float value="93"/></m_x>
        <m_y><float value="14"/></m_y>
        <m_z><float value="38.5"/></m_z>
        <m_scaleX><float value="0.75"/></m_scaleX>
        <m_scaleY><float value="0.75"/></m_scaleY>
        <m_scaleZ><float value="0.75"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="1"/></y><z><float value="0"/></z><w><float value="6.12323e-17"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="arrow.model"/></m_modelName>
        <m_materialName><string value="black.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </arrowRRes>
  <back2>
    <Components>
      <Transform3D>
        <m_x><float value="74"/></m_x>
        <m_y><float value="8"/></m_y>
        <m_z><float value="38.5"/></m_z>
        <m_scaleX><float value="1.6"/></m_scaleX>
        <m_scaleY><float value="1.6"/></m_scaleY>
        <m_scaleZ><float value="0.5"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="cube.model"/></m_modelName>
        <m_materialName><string value="arrow_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </back2>
  <label_back_more>
    <Components>
      <Transform3D>
        <m_x><float value="82"/></m_x>
        <m_y><float value="8"/></m_y>
        <m_z><float value="38.2"/></m_z>
        <m_scaleX><float value="10"/></m_scaleX>
        <m_scaleY><float value="2.4"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0"/></x><y><float value="0"/></y><z><float value="0"/></z><w><float value="1"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="menu_back.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </label_back_more>
  <dojo>
    <Components>
      <Transform3D>
        <m_x><float value="-114.986"/></m_x>
        <m_y><float value="24.9157"/></m_y>
        <m_z><float value="0.795883"/></m_z>
        <m_scaleX><float value="44"/></m_scaleX>
        <m_scaleY><float value="22"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="-0.083127"/></x><y><float value="0.551603"/></y><z><float value="0.0553712"/></z><w><float value="0.828105"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="dojo_keyboard_menu.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </dojo>
  <creditsBoard>
    <Components>
      <Transform3D>
        <m_x><float value="-7.092"/></m_x>
        <m_y><float value="162.837"/></m_y>
        <m_z><float value="-7.229"/></m_z>
        <m_scaleX><float value="64"/></m_scaleX>
        <m_scaleY><float value="30"/></m_scaleY>
        <m_scaleZ><float value="1"/></m_scaleZ>
        <m_rotation><Quat><x><float value="0.53681"/></x><y><float value="0.03605"/></y><z><float value="-0.02297"/></z><w><float value="0.84262"/></w></Quat></m_rotation>
      </Transform3D>
      <GraphicsComponent3D>
        <m_modelName><string value="board.model"/></m_modelName>
        <m_materialName><string value="credits_bg.mat"/></m_materialName>
      </GraphicsComponent3D>
    </Components>
  </creditsBoard>
  <menuSun>
    <Components>
      <Transform3D>
        <m_x><float value="-8"/></m_x>
        <m_y><float value="255"/></m_y>
        <m_z><float value="650"/></m_z>
      </Transform3D>
      <SunComponent>
        <m_direction><Vec4><x><float value="0.0043"/></x><y><float value="-0.2662"/></y><z><float value="-0.9639"/></z><w><float value="0"/></w></Vec4></m_direction>
        <m_fov><float value="40"/></m_fov>
        <m_nearPlane><float value="500"/></m_nearPlane>
        <m_farPlane><float value="900"/></m_farPlane>
      </SunComponent>
      <DirectionalLightComponent>
        <m_direction><Vec4><x><float value="0.0043"/></x><y><float value="-0.2662"/></y><z><float value="-0.9639"/></z><w><float value="0"/></w></Vec4></m_direction>
        <m_color><Vec4><x><float value="1"/></x><y><float value="0.96"/></y><z><float value="0.88"/></z><w><float value="1"/></w></Vec4></m_color>
      </DirectionalLightComponent>
    </Components>
  </menuSun>
  <menuSky>
    <Components>
      <Transform3D>
        <m_scaleX><float value="2000"/></m_scaleX>
        <m_scaleY><float value="2000"/></m_scaleY>
        <m_scaleZ><float value="2000"/></m_scaleZ>
      </Transform3D>
      <BackdropComponent>
        <m_materialName><string value="sky.mat"/></m_materialName>
      </BackdropComponent>
    </Components>
  </menuSky>
  <menuFog>
    <Components>
      <FogComponent>
        <m_globalDensity><float value="0.0006"/></m_globalDensity>
        <m_heightDensity><float value="0.002"/></m_heightDensity>
        <m_color><Vec4><x><float value="0.6"/></x><y><float value="0.7"/></y><z><float value="0.85"/></z><w><float value="0"/></w></Vec4></m_color>
      </FogComponent>
    </Components>
  </menuFog>
</MainMenuTest>
